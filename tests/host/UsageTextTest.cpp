#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/UsageText.h"

namespace {

TEST(WrapUsageText, LaysTextOutFor80Columns) {
    const std::wstring program = L"setup.exe";
    struct Case {
        std::wstring text;
        size_t indent;
        const std::wstring* replacement;
        std::wstring expected;
    } cases[] = {
        {L"", 4, nullptr, L""},
        {L"Display this message.", 4, nullptr, L"    Display this message."},
        // Line breaks keep the indent; a tab right after one adds four blanks.
        {L"Uninstall:\n\t%s /x /q\nCheck.", 4, &program, L"    Uninstall:\n        setup.exe /x /q\n    Check."},
        {L"a\n\nb", 2, nullptr, L"  a\n  \n  b"},
        // Without a replacement "%s" is dropped.
        {L"run %s now", 0, nullptr, L"run  now"},
        // A word that would pass column 79 moves to the next line without its blank.
        {std::wstring(70, L'x') + L" abcdefghij", 4, nullptr, L"    " + std::wstring(70, L'x') + L"\n    abcdefghij"},
        {std::wstring(74, L'x') + L" abcd", 0, nullptr, std::wstring(74, L'x') + L" abcd"},  // ends at column 79
        {std::wstring(75, L'x') + L" abcd", 0, nullptr, std::wstring(75, L'x') + L"\nabcd"},
        // A quoted part is one token, blanks and all; "%s" inside it stays. The
        // blank before it is a token of its own and stays on the line above.
        {std::wstring(60, L'y') + L" \"127.0.0.1 or %s here\"", 0, &program, std::wstring(60, L'y') + L" \n\"127.0.0.1 or %s here\""},
        {L"say \"open", 0, nullptr, L"say \"open"},
        // A word longer than a line stands alone on its line.
        {L"a " + std::wstring(90, L'z') + L" b", 0, nullptr, L"a\n" + std::wstring(90, L'z') + L"\nb"},
        // Leading blanks at the start of a line are dropped.
        {L"\n  x", 2, nullptr, L"  \n  x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WrapUsageText(c.text, c.indent, c.replacement), c.expected)
            << "text: " << std::string(c.text.begin(), c.text.end());
    }
}

std::vector<std::wstring> Names(const PropertyGroup& g) {
    std::vector<std::wstring> names;
    for (const auto& p : g.properties) names.push_back(p.text);
    return names;
}

TEST(PropertyGroups, ChosenByTheProductNamePrefix) {
    struct Case {
        const wchar_t* product;
        std::vector<unsigned> headings;
    } cases[] = {
        {L"Quelto Skedra Server 2026", {1263, 1264, 1265, 1266, 1276, 1269, 1270}},
        {L"Quelto Vexor Server 2026", {1269, 1270}},
        {L"Quelto Vexor+XBRL Server 2026", {1271, 1272}},
        {L"Quelto Cleavo Server 2026", {1325, 1326}},
        {L"Quelto Tandora Server 2026", {1273, 1274, 1275, 1278}},
        {L"quelto skedra server 2026", {}},  // the prefix test is case-sensitive
        {L"Quelto Skedra Server", {}},       // the prefix ends with a blank
        {L"Quelto Markwell", {}},
    };
    for (const Case& c : cases) {
        std::vector<unsigned> headings;
        for (const auto& g : BuildPropertyGroups(c.product)) headings.push_back(g.headingId);
        EXPECT_EQ(headings, c.headings) << std::string(c.product, c.product + wcslen(c.product));
    }

    const auto skedra = BuildPropertyGroups(L"Quelto Skedra Server 2026");
    EXPECT_EQ(Names(skedra[0]), (std::vector<std::wstring>{L"SKWeb_WebServer_Enabled", L"SKWeb_WebServer_Host",
                                                            L"SKWeb_WebServer_Port", L"SKWeb_SSLWebServer_Enabled",
                                                            L"SKWeb_SSLWebServer_Host", L"SKWeb_SSLWebServer_Port"}));
    EXPECT_EQ(skedra[0].properties[4].descriptionId, 1247u);
    EXPECT_EQ(skedra[0].properties[5].descriptionId, 1249u);
    EXPECT_EQ(Names(skedra[4]), (std::vector<std::wstring>{L"SK_SSLWebServer_Certificate", L"SK_SSLWebServer_PrivateKey"}));
    EXPECT_EQ(skedra[5].properties.size(), 8u);  // VX with certificate
    EXPECT_EQ(skedra[5].properties[4].descriptionId, 1243u);
    EXPECT_EQ(Names(skedra[6]), (std::vector<std::wstring>{L"VX_Service_DisplayName", L"VX_Service_StartType",
                                                            L"VX_Service_Username", L"VX_Service_Password"}));
}

std::wstring FakeString(unsigned id) {
    if (id == 1310) return L"Error: Parameter %s must be numeric";
    return L"<" + std::to_wstring(id) + L">";
}

TEST(PropertyCheck, PortsMustBeNumbersAndUnknownNamesAreReported) {
    const auto groups = BuildPropertyGroups(L"Quelto Skedra Server 2026");
    const auto check = CheckProperties({L"SK_WebServer_Port=80a", L"sk_sslwebserver_port=443", L"SKWeb_WebServer_Port=+8080",
                                        L"VX_SSLWebServer_Port=\"\"", L"VX_WebServer_Host=0.0.0.0", L"SK_WebServer_Port=80",
                                        L"FOO=1", L"TRANSFORMS=b.mst", L"Lang=x"},
                                       groups, FakeString);
    EXPECT_FALSE(check.valid);
    EXPECT_EQ(check.errors,
              L"Error: Parameter SK_WebServer_Port must be numeric\nError: Parameter VX_SSLWebServer_Port must be numeric\n");
    EXPECT_EQ(check.unknown, std::vector<std::wstring>{L"FOO"});

    const auto ok = CheckProperties({L"SK_WebServer_Port=80"}, groups, FakeString);
    EXPECT_TRUE(ok.valid);
    EXPECT_EQ(ok.errors, L"");
    // Without groups every property is unknown, none invalid.
    const auto none = CheckProperties({L"SK_WebServer_Port=80a"}, {}, FakeString);
    EXPECT_TRUE(none.valid);
    EXPECT_EQ(none.unknown, std::vector<std::wstring>{L"SK_WebServer_Port"});
}

TEST(UsageModel, OptionsDependOnTheCatalogue) {
    auto optionTitles = [](const UsageModel& m, size_t command) {
        std::vector<unsigned> titles;
        for (const auto* o : m.commands[command].options) titles.push_back(o->titleId);
        return titles;
    };
    const auto single = BuildUsageModel(FakeString, false, 1);
    ASSERT_EQ(single.commands.size(), 6u);
    EXPECT_EQ(optionTitles(single, 1), (std::vector<unsigned>{1050, 1052, 1054, 1058, 1060}));
    EXPECT_TRUE(single.commands[0].options.empty());
    EXPECT_TRUE(single.commands[5].options.empty());
    const auto multi = BuildUsageModel(FakeString, true, 3);
    EXPECT_EQ(optionTitles(multi, 3), (std::vector<unsigned>{1048, 1050, 1052, 1054, 1056, 1058, 1060}));
    EXPECT_EQ(multi.commands[1].options[0]->text, L"lang=<<1071>>");

    // Each option is printed once, although four commands share it.
    const std::wstring text = FormatUsageText(multi, {}, FakeString, L"setup.exe");
    size_t count = 0;
    for (size_t at = text.find(L"    /q[n|r|f|b][+]\n"); at != std::wstring::npos; at = text.find(L"    /q[n|r|f|b][+]\n", at + 1)) ++count;
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(text.rfind(L"\r\nsetup.exe - <1068>\r\n\r\nsetup.exe /h\n    <1062>\r\n\r\nsetup.exe \n    <1063>\r\n\r\n", 0), 0u);
}

}  // namespace
