#include "app/CatalogueReader.h"

#include <windows.h>

#include <optional>

#include "base/JsonReader.h"
#include "base/TextFormat.h"
#include "base/TextUtil.h"
#include "base/VEZAFileUtilities.h"

namespace {

// The workload file as 8-bit text in the system's code page, lines joined
// without their line ends.
std::wstring ReadWorkloadText(const std::wstring& path) {
    fw::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[4096];
    DWORD n = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    std::string joined;
    for (char c : bytes) {
        if (c != '\r' && c != '\n') joined += c;
    }
    if (joined.empty()) return {};
    const int size = ::MultiByteToWideChar(CP_ACP, 0, joined.data(), static_cast<int>(joined.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, joined.data(), static_cast<int>(joined.size()), text.data(), size);
    return text;
}

// A package code that may name a folder and reach a batch file.
bool CheckPackageCode(const SetupPackage& package, SetupLog& log) {
    if (!package.RefusedCacheFile().empty()) {
        log.WriteLog(1, L"QVR (c): Cached package %s does not carry the package code %s; it is unpacked again.\r\n",
                     package.RefusedCacheFile(), package.Facts().packageCode);
    }
    if (package.HasValidPackageCode()) return true;
    log.WriteLog(1, L"QVR (c): Package %s has no valid package code ('%s').\r\n", package.Facts().productName,
                 package.Facts().packageCode);
    return false;
}

bool ReadWorkload(const std::wstring& path, const CSetupAppCommandLineInfo& commandLine, SetupLog& log,
                  std::vector<std::unique_ptr<SetupPackage>>& packages) {
    if (!VEZAFileUtilities::Exists(path)) {
        log.WriteLog(1, L"Workload file '%s' does not exist.\r\n", path);
        return false;
    }
    bool outcome = true;
    try {
        const JsonObject document = ParseJsonObjectDocument(ReadWorkloadText(path));
        if (!HasJsonMember(document, L"packages") || GetJsonMember(document, L"packages").type() != JsonValue::Type::Array) {
            log.WriteLog(1, L"Workload '%s' is not a proper JSON package array object.\r\n", path);
            return false;
        }
        const JsonArray& list = GetJsonMember(document, L"packages").ArrayValue();
        if (list.empty()) {
            log.WriteLog(1, L"Workload '%s' doesn't contain any pakages.\r\n", path);
            return false;
        }
        for (const auto& element : list) {
            const JsonObject& object = element->ObjectValue();
            auto text = [&](const wchar_t* name) { return GetJsonMember(object, name).StringValue(); };
            auto optionalText = [&](const wchar_t* name, const wchar_t* fallback) {
                return HasJsonMember(object, name) ? GetJsonMember(object, name).StringValue() : std::wstring(fallback);
            };
            PackageFacts facts{text(L"productName"), text(L"productCode"), text(L"packageCode"), text(L"productId"),
                               text(L"productPlatform"), text(L"productVersion"), optionalText(L"installerType", L"msi"),
                               text(L"packageData"), optionalText(L"packageLangDataPattern", L"")};
            const bool main = packages.empty();
            const bool mainInstalled = main ? false : packages.front()->InstalledAtStart();
            packages.push_back(std::make_unique<SetupPackage>(facts, main, commandLine, mainInstalled));
            log.WriteLog(3, L"QVR (c): Initialized state for package %s.\r\n", facts.productName);
            if (facts.packageCode.empty() || facts.packageData.empty() || !VEZAFileUtilities::Exists(facts.packageData)) {
                outcome = false;
            }
            if (!CheckPackageCode(*packages.back(), log)) outcome = false;
        }
    } catch (const VEZAJsonException&) {
        log.WriteLog(1, L"Workload is not a proper JSON package array object.\r\n");
        return false;
    }
    return outcome;
}

}  // namespace

bool ReadPackageCatalogue(const CatalogueSources& sources, const CSetupAppCommandLineInfo& commandLine, SetupLog& log,
                          std::vector<std::unique_ptr<SetupPackage>>& packages) {
    packages.clear();
    log.WriteLog(3, L"QVR (c): Reading package information.\r\n");
    const long count = ParseDecimal(sources.mandatoryText(L"PACKAGE_COUNT"));
    if (count < 1) {
        if (commandLine.Workload().empty()) return true;
        return ReadWorkload(commandLine.Workload(), commandLine, log, packages);
    }
    bool outcome = true;
    log.WriteLog(3, L"QVR (c): Installer contains %d packages.\r\n", count);
    for (long i = 0; i < count; ++i) {
        auto read = [&](const wchar_t* base) { return sources.mandatoryText(FormatText(L"%s_%d", base, i)); };
        PackageFacts facts;
        facts.productName = read(L"PRODUCT_NAME");
        facts.productCode = read(L"PRODUCT_CODE");
        facts.packageCode = read(L"PACKAGE_CODE");
        facts.productId = read(L"PRODUCT_ID");
        facts.platform = read(L"PRODUCT_PLATFORM");
        facts.versionText = read(L"PRODUCT_VERSION");
        const auto type = sources.optionalText(FormatText(L"%s_%d", L"INSTALLER_TYPE", i));
        facts.installerType = type && !type->empty() ? *type : L"msi";
        facts.packageData = FormatText(L"PACKAGE_%d", i);
        facts.transformPattern = FormatText(L"PACKAGE_%d_%%s", i);
        const bool main = i == 0;
        const bool mainInstalled = main ? false : packages.front()->InstalledAtStart();
        packages.push_back(std::make_unique<SetupPackage>(facts, main, commandLine, mainInstalled));
        log.WriteLog(3, L"QVR (c): Initialized state for package %s.\r\n", facts.productName);
        if (facts.packageCode.empty()) outcome = false;
        if (!CheckPackageCode(*packages.back(), log)) outcome = false;
    }
    return outcome;
}
