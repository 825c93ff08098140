#pragma once
// What the extraction tests share: the application object of the test
// process with its log in a temporary file, packages over the generated
// package resources, and a progress sink that records what it is told.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "engine/CabinetExtractor.h"
#include "app/CatalogueResources.h"
#include "engine/PackageExtraction.h"
#include "app/SetupApp.h"
#include "base/VEZAFileUtilities.h"

namespace extraction_test {

// The catalogue text the resource generator stored for the package.
inline std::wstring PackageCode() { return CatalogueResources().ReadCatalogueResource(L"PACKAGE_CODE_7").value_or(L""); }

inline CSetupAppCommandLineInfo CommandLine(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"setup.exe");
    CSetupAppCommandLineInfo info;
    fw::FeedArguments(info, args);
    return info;
}

inline PackageFacts Facts(const std::wstring& packageCode, const std::wstring& data) {
    return {L"Quelto Markwell Test", L"{8E4B1C2D-6F70-4A81-B2C3-D4E5F6A7B801}", packageCode, L"MW::TEST", L"Intel",
            L"2.1.0", L"msi", data, data + L"_%s"};
}

inline ExtractionSettings English() { return {false, L"1033", L"", L"Reading contents of package %s"}; }
inline ExtractionSettings German() { return {true, L"1031", L"_de", L"Reading contents of package %s"}; }

inline std::vector<std::wstring> MsiFiles(const std::wstring& folder) {
    return VEZAFileUtilities::ListFiles(folder, L"*.msi");
}

class RecordingSink : public VEZACabinetProgressCallbacks {
public:
    void percent(int share) override { lastPercent = share; }
    void progress(int bytesRead) override {
        lastBytes = bytesRead;
        if (onProgress) onProgress(bytesRead);
    }
    int maximum() override { return 30; }

    int lastPercent = -1;
    int lastBytes = -1;
    std::function<void(int)> onProgress;
};

// The application object of the test process (its command line is /qn),
// with the log written to a temporary file.
class ExtractionTest : public testing::Test {
protected:
    void SetUp() override {
        logPath = testfiles::TempPath(L"orvane-extract-test.txt");
        ::DeleteFileW(logPath.c_str());
        app.Log().Configure(logPath, 919, 0);
        ASSERT_TRUE(app.Log().Open());
        app.Languages().SelectByName(L"English");
        code = PackageCode();
        ASSERT_EQ(code.size(), 38u) << "the generated package code resource";
        folder = sharedDataFolder() + L"\\" + code;
        VEZAFileUtilities::DeleteFolderTree(folder);
    }
    void TearDown() override {
        app.Log().Close();
        VEZAFileUtilities::DeleteFolderTree(folder);
        ::DeleteFileW(logPath.c_str());
    }
    std::wstring LogText() { return testfiles::ReadUtf16(logPath); }

    CSetupApp app;
    std::wstring logPath;
    std::wstring code;
    std::wstring folder;
};

}  // namespace extraction_test
