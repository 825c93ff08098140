#pragma once
// The application object of the launcher: it owns everything for the whole
// run, walks the start-up decisions in InitInstance and turns the result of
// the run into the process exit code in ExitInstance.
#include <windows.h>
#include <cstdint>
#include <string>

#include "app/CatalogueResources.h"
#include "app/EnvironmentChecks.h"
#include "app/SetupPackage.h"
#include "app/LanguageTable.h"
#include "app/SetupAppCommandLineInfo.h"
#include "app/SetupLog.h"
#include "app/SetupResult.h"
#include "app/UsageText.h"
#include "framework/Application.h"
#include "framework/UniqueHandle.h"

class CSetupApp : public fw::CApplication {
public:
    CSetupApp();
    ~CSetupApp() override;

    static CSetupApp& Get() { return *static_cast<CSetupApp*>(fw::CApplication::Current()); }

    bool InitInstance() override;
    int ExitInstance() override;

    // Result record.
    const SetupResult& Result() const { return result_; }
    void SetResult(int32_t code, uint32_t systemError, bool reported) { result_ = {code, systemError, reported}; }
    // Logs the result text and shows the code's message once.
    void ReportResult();
    // Posts the quit message carrying code to the main thread; a caller on
    // another thread then ends itself with that code.
    void PostQuit(int code);

    // A catalogue text; a missing one shows the missing-resource message,
    // posts a quit request carrying 1603 and reads as empty.
    std::wstring GetCatalogueString(const std::wstring& name);

    const CSetupAppCommandLineInfo& CommandLine() const { return commandLine_; }
    LanguageTable& Languages() { return languages_; }
    SetupLog& Log() { return log_; }
    const CatalogueResources& Catalogue() const { return catalogue_; }
    // The main product's name from the catalogue ("PRODUCT_NAME_0").
    const std::wstring& ProductName() const { return productName_; }
    bool IsMultiLanguage() const { return multiLanguage_; }
    uint32_t WelcomeTextId() const { return osFacts_.welcomeTextId; }
    const OsFacts& Os() const { return osFacts_; }
    // Who answers the rights question; the system unless a test says otherwise.
    void UseTokenMembership(const TokenMembershipIF& membership) { membership_ = &membership; }
    // The package list; the first package is the main package.
    const std::vector<std::unique_ptr<SetupPackage>>& Packages() const { return packages_; }

private:
    void ChooseLanguage();
    void BuildUsage();
    // Checks the command-line properties; unknown ones are warned about on
    // the console at once. Returns false when a known one is invalid.
    bool CheckCommandLineProperties();
    void PrintUsage();
    StringLoader Strings();
    void RunMainPath();
    void PreselectSubPackages();
    // The refusals of the decision chain; each returns true when it refused.
    bool RefuseOldWindows();
    bool RefuseWithoutDirect2D();
    bool RefuseSecondSetup();
    bool RefuseWithoutRights();
    // A message box when the UI level shows them; returns at once otherwise.
    void ShowMessage(const std::wstring& text, UINT icon);

    SetupResult result_;
    UsageModel usage_;
    std::vector<PropertyGroup> propertyGroups_;
    std::wstring productName_;
    std::wstring propertyErrors_;
    CSetupAppCommandLineInfo commandLine_;
    LanguageTable languages_;
    SetupLog log_;
    CatalogueResources catalogue_;
    bool multiLanguage_ = false;
    bool started_ = false;
    OsFacts osFacts_;
    std::vector<std::unique_ptr<SetupPackage>> packages_;
    fw::UniqueKernelHandle setupMutex_;
    const TokenMembershipIF* membership_ = nullptr;
    fw::UniqueModule richEdit_;
};

// Sets the result code from any thread (system error 0, not yet reported);
// returns 1603 for a non-zero code, else 0, the exit code of a worker thread.
int SetResult(int32_t code);

// One formatted line into the setup log at a level.
template <typename... Args>
bool WriteLog(int level, std::wstring_view format, const Args&... args) {
    return CSetupApp::Get().Log().WriteLog(level, format, args...);
}
