#include "app/SetupApp.h"

#include <commctrl.h>

#include "app/CatalogueReader.h"
#include "app/ConsoleOutput.h"
#include "engine/PackageExtraction.h"
#include "base/ResourceAccess.h"
#include "base/TextFormat.h"
#include "base/TextUtil.h"
#include "framework/MessageLoop.h"
#include "wizard/WizardDialog.h"

namespace {

// Strings that are loaded the platform's ordinary way (the system picks the
// resource language), formatted in a buffer that grows by 1024 characters.
std::wstring LoadSystemString(UINT id) {
    std::wstring text(1024, L'\0');
    for (;;) {
        const int n = ::LoadStringW(::GetModuleHandleW(nullptr), id, text.data(), static_cast<int>(text.size()));
        if (n <= 0) return {};
        if (static_cast<size_t>(n) + 1 < text.size()) {
            text.resize(static_cast<size_t>(n));
            return text;
        }
        text.resize(text.size() + 1024);
    }
}

std::wstring ProgramFileName() {
    const std::wstring path = GetOwnModulePath();
    size_t cut = path.rfind(L'\\');
    if (cut == std::wstring::npos) cut = path.rfind(L'/');
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

}  // namespace

CSetupApp::CSetupApp() {
    // Boxes shown before the product name is known (the machine checks)
    // carry the program's name rather than an empty caption.
    const std::wstring program = ProgramFileName();
    SetAppName(program.substr(0, program.rfind(L'.')));
    ParseCommandLine(commandLine_);
    if (!commandLine_.LogFile().empty()) {
        log_.Configure(commandLine_.LogFile(), commandLine_.LogMode(), commandLine_.LogAttributes());
        log_.Open();
    }
    WriteLog(1, L"=== Orvane started: %s Build type: SHIP ANSI %s\r\n", LocalTimeText(),
             GetFileVersionText(GetOwnModulePath()));
}

CSetupApp::~CSetupApp() { log_.Close(); }

void CSetupApp::ShowMessage(const std::wstring& text, UINT icon) {
    if (!commandLine_.ShowsMessageBoxes()) return;
    ::MessageBoxW(nullptr, text.c_str(), AppName().c_str(), MB_OK | icon);
}

void CSetupApp::ReportResult() {
    if (result_.code == 0 || result_.reported) return;
    WriteLog(3, L"QVR (c): ERROR: %s\r\n", ResultText(result_));
    if (const unsigned id = ResultMessageId(result_.code)) {
        ShowMessage(languages_.LoadLanguageString(id), MB_ICONEXCLAMATION);
    }
    result_.reported = true;
}

void CSetupApp::PostQuit(int code) {
    fw::PostQuitTo(MainThreadId(), code);
    if (::GetCurrentThreadId() != MainThreadId()) ::ExitThread(static_cast<DWORD>(code));
}

std::wstring CSetupApp::GetCatalogueString(const std::wstring& name) {
    if (auto text = catalogue_.ReadCatalogueResource(name)) return *text;
    ShowMessage(FormatText(LoadSystemString(2), name), MB_ICONEXCLAMATION);
    // The run ends early without doing its work; a script must not read that
    // as success. The box above already told the user, so no second box.
    if (result_.code == kResultSuccess) {
        WriteLog(1, L"QVR (c): ERROR: %s\r\n", ResultText({kResultCorrupted, 0, false}));
        SetResult(kResultCorrupted, 0, true);
    }
    PostQuit(1603);
    return {};
}

void CSetupApp::ChooseLanguage() {
    languages_.SelectByName(L"English");
    multiLanguage_ = catalogue_.IsMultiLanguage();
    if (multiLanguage_) {
        if (!commandLine_.Language().empty()) {
            languages_.SelectByName(commandLine_.Language());
        } else {
            languages_.SelectByLangId(::GetUserDefaultUILanguage());
        }
        return;
    }
    const auto stored = catalogue_.StoredLanguage();
    switch (stored ? *stored : 1033) {
    case 1031:
    case 1034:
    case 1036:
    case 1041: languages_.SelectByLangId(*stored); break;
    default: break;  // English stays
    }
}

StringLoader CSetupApp::Strings() {
    return [this](unsigned id) { return languages_.LoadLanguageString(id); };
}

void CSetupApp::BuildUsage() {
    const long packageCount = ParseDecimal(GetCatalogueString(L"PACKAGE_COUNT"));
    productName_ = GetCatalogueString(L"PRODUCT_NAME_0");
    usage_ = BuildUsageModel(Strings(), multiLanguage_, packageCount);
    propertyGroups_ = BuildPropertyGroups(productName_);
}

bool CSetupApp::CheckCommandLineProperties() {
    const PropertyCheck check = CheckProperties(commandLine_.Properties(), propertyGroups_, Strings());
    if (!check.unknown.empty()) AttachParentConsole();
    for (const std::wstring& name : check.unknown) {
        WriteConsoleText(languages_.FormatLanguageString(1277, name) + L"\r\n");
    }
    propertyErrors_ = check.errors;
    return check.valid;
}

void CSetupApp::PrintUsage() {
    AttachParentConsole();
    WriteConsoleText(FormatUsageText(usage_, propertyGroups_, Strings(), ProgramFileName()));
}

void CSetupApp::RunMainPath() {
    richEdit_.reset(::LoadLibraryW(L"riched20.dll"));
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    SetAppName(languages_.FormatLanguageString(1, productName_));
    const CatalogueSources sources{[this](const std::wstring& name) { return GetCatalogueString(name); },
                                   [this](const std::wstring& name) { return catalogue_.ReadCatalogueResource(name); }};
    if (!ReadPackageCatalogue(sources, commandLine_, log_, packages_)) SetResult(kResultCatalogueUnusable, 0, false);
    PreselectSubPackages();
    if (result_.code == 0) {
        WriteLog(3, L"QVR (c): All information collected. Start processing.\r\n");
        // Every run passes through the wizard, hidden unless the UI is full;
        // its outcome is the result record.
        CWizardDialog wizard(AppName(), nullptr);
        wizard.DoModal();
    }
}

void CSetupApp::PreselectSubPackages() {
    const std::wstring& value = commandLine_.SubPackages();
    if (value.empty()) return;  // absent or "all": the default selection stays
    std::vector<std::wstring> items;
    for (size_t start = 0;;) {
        const size_t comma = value.find(L',', start);
        items.push_back(value.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    const bool none = items.size() == 1 && EqualsNoCase(items.front(), L"none");
    for (const auto& package : packages_) {
        if (package->IsMain()) continue;
        const std::wstring& name = package->Facts().productName;
        bool matched = false;
        if (!none) {
            for (const std::wstring& item : items) {
                if (name.find(item) == std::wstring::npos) continue;
                WriteLog(3, L"QVR (c): Avoid skipping of sub-package %s due to pattern '%s'.\r\n", name, item);
                matched = true;
            }
        }
        if (matched) {
            WriteLog(3, L"QVR (c): set default handling of package %s due to command line argument.\r\n", name);
        } else {
            WriteLog(3, L"QVR (c): skipped handling of package %s due to command line argument.\r\n", name);
        }
        package->SetSelected(matched);
    }
}

bool CSetupApp::RefuseOldWindows() {
    if (CheckOsVersion(GetCatalogueString(L"OS"), log_, osFacts_)) return false;
    WriteLog(2, L"QVR (c): Setup not allowed to run on %s\r\n", osFacts_.name);
    ShowMessage(FormatText(LoadSystemString(10), osFacts_.name, osFacts_.expectedName), MB_ICONSTOP);
    SetResult(kResultIncompatibleWindows, 0, false);
    return true;
}

bool CSetupApp::RefuseWithoutDirect2D() {
    if (IsDirect2DPresent()) return false;
    WriteLog(2, L"No Direct2D found on this machine.");
    ShowMessage(LoadSystemString(66), MB_ICONSTOP);
    SetResult(kResultNoDirect2D, 0, false);
    return true;
}

bool CSetupApp::RefuseSecondSetup() {
    if (!IsAnotherSetupRunning(osFacts_.running.major, setupMutex_)) return false;
    WriteLog(1, L"QVR (c): Setup already in progress.\r\n");
    SetResult(kResultAlreadyRunning, 0, false);
    return true;
}

bool CSetupApp::RefuseWithoutRights() {
    const SystemTokenMembership system;
    if (UserHasSetupRights(membership_ ? *membership_ : static_cast<const TokenMembershipIF&>(system))) return false;
    WriteLog(1, L"QVR (c): User has no sufficient rights to run setup.\r\n");
    SetResult(kResultNoAdminRights, 0, false);
    return true;
}

bool CSetupApp::InitInstance() {
    WriteLog(2, L"QVR (c): CommandLine: %s\r\n", MaskCommandLineSecrets(::GetCommandLineW()));
    ChooseLanguage();
    BuildUsage();
    const bool propertiesValid = CheckCommandLineProperties();

    if (commandLine_.Validate()) {
        WriteLog(3, L"Validation if all necessary resources have been compiled into setup.");
        if (!catalogue_.ValidateResources()) {
            WriteLog(1, L"Validation failed!");
            SetResult(kResultCorrupted, 0, true);
        }
    } else if (commandLine_.Help() || commandLine_.SyntaxError()) {
        PrintUsage();
    } else if (RefuseOldWindows() || RefuseWithoutDirect2D()) {
        // the result is set
    } else if (!propertiesValid) {
        AttachParentConsole();
        WriteConsoleText(L"\r\n" + propertyErrors_ + L"\r\n\r\n");
    } else if (RefuseSecondSetup() || RefuseWithoutRights()) {
        // the result is set
    } else {
        RunMainPath();
    }

    ReportResult();
    PostQuit(result_.code);
    started_ = true;
    return false;
}

int CSetupApp::ExitInstance() {
    WriteLog(3, L"QVR (c): entering ExitInstance \r\n");
    if (started_) fw::DrainUntilQuit();
    fw::CApplication::ExitInstance();
    if (!packages_.empty()) {
        const SetupPackage& main = *packages_.front();
        const bool afterRun = main.IsMsi() ? !commandLine_.Uninstall() && !commandLine_.Repair() : !commandLine_.Repair();
        const bool fastOem = result_.code == 0 && commandLine_.KeepFastOem() && IsInstalled(main);
        if (afterRun || fastOem) DeleteExtractedPackageFolders(packages_);
    }
    WriteLog(1, L"=== Orvane stopped: %s\r\n", LocalTimeText());
    return result_.code;
}

int SetResult(int32_t code) {
    CSetupApp::Get().SetResult(code, 0, false);
    return code != 0 ? 1603 : 0;
}
