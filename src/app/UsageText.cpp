#include "app/UsageText.h"

#include "base/TextFormat.h"
#include "base/TextUtil.h"

namespace {

constexpr size_t kConsoleWidth = 79;  // a line may not grow past this column

const UsageOption* AddOption(UsageModel& model, std::wstring text, unsigned title, unsigned description) {
    model.options.push_back(std::make_unique<UsageOption>(UsageOption{std::move(text), title, description}));
    return model.options.back().get();
}

enum class Kind { Web, WebWithCertificate, Service, CertificateOnly };

PropertyGroup MakeGroup(unsigned heading, Kind kind, const std::wstring& prefix, unsigned hostDescription = 0,
                        unsigned portDescription = 0) {
    PropertyGroup group{heading, {}};
    auto add = [&](const wchar_t* suffix, unsigned title, unsigned description) {
        group.properties.push_back({prefix + L"_" + suffix, title, description});
    };
    switch (kind) {
    case Kind::Web:
    case Kind::WebWithCertificate:
        add(L"WebServer_Enabled", 1240, 1241);
        add(L"WebServer_Host", 1242, 1243);
        add(L"WebServer_Port", 1244, 1245);
        add(L"SSLWebServer_Enabled", 1240, 1241);
        add(L"SSLWebServer_Host", 1246, hostDescription);
        add(L"SSLWebServer_Port", 1248, portDescription);
        if (kind == Kind::WebWithCertificate) {
            add(L"SSLWebServer_Certificate", 1250, 1251);
            add(L"SSLWebServer_PrivateKey", 1252, 1253);
        }
        break;
    case Kind::CertificateOnly:
        add(L"SSLWebServer_Certificate", 1250, 1251);
        add(L"SSLWebServer_PrivateKey", 1252, 1253);
        break;
    case Kind::Service:
        add(L"Service_DisplayName", 1254, 1255);
        add(L"Service_StartType", 1256, 1257);
        add(L"Service_Username", 1258, 1259);
        add(L"Service_Password", 1260, 1261);
        break;
    }
    return group;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

// A decimal number covering the whole value; leading blanks and a sign allowed.
bool IsWholeNumber(const std::wstring& value) {
    size_t i = 0;
    while (i < value.size() && (value[i] == L' ' || value[i] == L'\t')) ++i;
    if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) ++i;
    const size_t digits = i;
    while (i < value.size() && value[i] >= L'0' && value[i] <= L'9') ++i;
    return i > digits && i == value.size();
}

}  // namespace

UsageModel BuildUsageModel(const StringLoader& strings, bool multiLanguage, long packageCount) {
    UsageModel model;
    const UsageOption* language = AddOption(model, L"lang=<" + strings(1071) + L">", 1048, 1049);
    const UsageOption* uiLevel = AddOption(model, L"/q[n|r|f|b][+]", 1050, 1051);
    const UsageOption* logging = AddOption(model, L"/L[i|w|e|a|r|u|c|m|o|v|x|*|+|!] <" + strings(1075) + L">", 1052, 1053);
    const UsageOption* mif = AddOption(model, L"/m <" + strings(1076) + L">", 1054, 1055);
    const UsageOption* subPackages =
        AddOption(model, L"SubPackages=all|none|<" + strings(1070) + L">{,<" + strings(1070) + L">}", 1056, 1057);
    const UsageOption* transforms = AddOption(model, L"TRANSFORMS=<" + strings(1072) + L">", 1058, 1059);
    const UsageOption* properties = AddOption(model, L"<" + strings(1073) + L">=<" + strings(1074) + L">", 1060, 1061);

    std::vector<const UsageOption*> installOptions;
    if (multiLanguage) installOptions.push_back(language);
    installOptions.insert(installOptions.end(), {uiLevel, logging, mif});
    if (packageCount > 1) installOptions.push_back(subPackages);
    installOptions.insert(installOptions.end(), {transforms, properties});

    model.commands = {
        {L"/h", 1062, {}},
        {L"", 1063, installOptions},
        {L"/f[p|o|e|d|c|a|u|m|s|v]", 1065, installOptions},
        {L"/x", 1066, installOptions},
        {L"/a", 1064, installOptions},
        {L"/u", 1067, {}},
    };
    return model;
}

std::vector<PropertyGroup> BuildPropertyGroups(const std::wstring& productName) {
    std::vector<PropertyGroup> groups;
    const bool skedra = StartsWith(productName, L"Quelto Skedra Server ");
    if (skedra) {
        groups.push_back(MakeGroup(1263, Kind::Web, L"SKWeb", 1247, 1249));
        groups.push_back(MakeGroup(1264, Kind::Service, L"SKWeb"));
        groups.push_back(MakeGroup(1265, Kind::Web, L"SK", 1247, 1249));
        groups.push_back(MakeGroup(1266, Kind::Service, L"SK"));
        groups.push_back(MakeGroup(1276, Kind::CertificateOnly, L"SK"));
    }
    if (skedra || StartsWith(productName, L"Quelto Vexor Server ")) {
        groups.push_back(MakeGroup(1269, Kind::WebWithCertificate, L"VX", 1243, 1245));
        groups.push_back(MakeGroup(1270, Kind::Service, L"VX"));
    }
    if (StartsWith(productName, L"Quelto Cleavo Server ")) {
        groups.push_back(MakeGroup(1325, Kind::WebWithCertificate, L"CV", 1243, 1245));
        groups.push_back(MakeGroup(1326, Kind::Service, L"CV"));
    }
    if (StartsWith(productName, L"Quelto Vexor+XBRL Server ")) {
        groups.push_back(MakeGroup(1271, Kind::WebWithCertificate, L"VXB", 1243, 1245));
        groups.push_back(MakeGroup(1272, Kind::Service, L"VXB"));
    }
    if (StartsWith(productName, L"Quelto Tandora Server ")) {
        groups.push_back(MakeGroup(1273, Kind::Web, L"TDSAdmin", 1247, 1249));
        groups.push_back(MakeGroup(1274, Kind::Web, L"TDSClient", 1247, 1249));
        groups.push_back(MakeGroup(1275, Kind::CertificateOnly, L"TDS"));
        groups.push_back(MakeGroup(1278, Kind::Service, L"TDS"));
    }
    return groups;
}

std::wstring WrapUsageText(const std::wstring& text, size_t indent, const std::wstring* replacement) {
    if (text.empty()) return {};
    const std::wstring margin(indent, L' ');
    std::wstring out = margin;
    size_t column = indent;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        while (i < n && text[i] == L'\n') {
            out += L'\n';
            out += margin;
            column = indent;
            ++i;
            if (i < n && text[i] == L'\t') {
                out += L"    ";
                column = indent + 4;
                ++i;
            }
        }
        if (i >= n) break;

        std::wstring token;
        if (text.compare(i, 2, L"%s") == 0) {
            if (replacement) token = *replacement;
            i += 2;
        } else if (text[i] == L'"') {
            const size_t close = text.find(L'"', i + 1);
            const size_t end = close == std::wstring::npos ? n : close + 1;
            token = text.substr(i, end - i);
            i = end;
        } else {
            size_t end = n;
            for (const wchar_t* stop : {L" ", L"\n", L"%s", L"\""}) {
                const size_t at = text.find(stop, i + 1);
                if (at != std::wstring::npos && at < end) end = at;
            }
            token = text.substr(i, end - i);
            i = end;
        }

        if (column + token.size() > kConsoleWidth) {
            out += L'\n';
            out += margin;
            column = indent;
            if (!token.empty() && token[0] == L' ') token.erase(0, 1);
        } else if (column == indent && !token.empty() && token[0] == L' ') {
            token.erase(0, 1);
        }
        out += token;
        column += token.size();
    }
    return out;
}

std::wstring FormatUsageText(const UsageModel& model, const std::vector<PropertyGroup>& groups,
                             const StringLoader& strings, const std::wstring& programName) {
    std::wstring out = L"\r\n" + programName + L" - " + strings(1068) + L"\r\n\r\n";
    for (const UsageCommand& command : model.commands) {
        out += programName + L" " + command.text + L"\n" + WrapUsageText(strings(command.descriptionId), 4, &programName);
        out += L"\r\n\r\n";
    }
    out += strings(1069) + L"\r\n";
    std::vector<const UsageOption*> shown;
    for (const UsageCommand& command : model.commands) {
        for (const UsageOption* option : command.options) {
            bool seen = false;
            for (const UsageOption* s : shown) seen = seen || s == option;
            if (seen) continue;
            shown.push_back(option);
            out += L"    " + option->text + L"\n" + WrapUsageText(strings(option->descriptionId), 8, &programName);
            out += L"\r\n\r\n";
        }
    }
    out += WrapUsageText(strings(1262), 0) + L"\r\n\r\n";
    for (const PropertyGroup& group : groups) {
        out += WrapUsageText(strings(group.headingId), 4) + L"\r\n";
        for (const UsageOption& property : group.properties) {
            out += L"        " + property.text + L"=" + strings(property.titleId) + L"\n" +
                   WrapUsageText(strings(property.descriptionId), 12);
            out += L"\r\n\r\n";
        }
    }
    return out;
}

PropertyCheck CheckProperties(const std::vector<std::wstring>& properties, const std::vector<PropertyGroup>& groups,
                              const StringLoader& strings) {
    PropertyCheck check;
    for (const std::wstring& property : properties) {
        const size_t eq = property.find(L'=');
        const std::wstring name = property.substr(0, eq);
        const std::wstring value = eq == std::wstring::npos ? std::wstring() : property.substr(eq + 1);
        if (EqualsNoCase(name, L"lang") || EqualsNoCase(name, L"SubPackages") || EqualsNoCase(name, L"TRANSFORMS")) continue;
        bool known = false;
        for (const PropertyGroup& group : groups) {
            for (const UsageOption& p : group.properties) known = known || EqualsNoCase(p.text, name);
        }
        if (!known) {
            check.unknown.push_back(name);
            continue;
        }
        const size_t underscore = name.find(L'_');
        const std::wstring suffix = underscore == std::wstring::npos ? std::wstring() : name.substr(underscore + 1);
        if ((EqualsNoCase(suffix, L"WebServer_Port") || EqualsNoCase(suffix, L"SSLWebServer_Port")) && !IsWholeNumber(value)) {
            check.errors += FormatText(strings(1310), name) + L"\n";
            check.valid = false;
        }
    }
    return check;
}
