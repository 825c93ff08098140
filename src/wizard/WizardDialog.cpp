#include "wizard/WizardDialog.h"

#include "app/SetupApp.h"
#include "base/TextUtil.h"
#include "wizard/FinishWizardPage.h"
#include "wizard/NonMSIInstallWizardPage.h"
#include "wizard/UnpackWizardPage.h"
#include "wizard/WelcomeWizardPage.h"

CWizardDialog::CWizardDialog(const std::wstring& title, HWND parent)
    : CDialogBase(kTemplate, parent, true), title_(title) {
    BuildPageList();
}

CWizardDialog::~CWizardDialog() {
    // The pages' windows go before the dialog's (and before the brush they paint with).
    pages_.clear();
}

void CWizardDialog::BuildPageList() {
    const auto& packages = App().Packages();
    const SetupPackage* main = packages.empty() ? nullptr : packages.front().get();
    mainInstalled_ = main && IsInstalled(*main);
    showUI_ = (App().CommandLine().UILevel() & 5) == 5;
    for (const auto& package : packages) {
        const std::wstring& name = package->Facts().productName;
        if (name.find(L"Tandora Server") != std::wstring::npos) {
            hasTandoraServer_ = true;
            break;
        }
        if (name.find(L"Skedra Server") != std::wstring::npos && name.find(L"Advanced Edition") != std::wstring::npos) {
            hasSkedraAdvanced_ = true;
        }
    }

    pages_.push_back(std::make_unique<WelcomeWizardPage>(*this));
    pages_.push_back(std::make_unique<UnpackWizardPage>(*this));
    // The Windows Installer page comes with the install engine; until then a
    // Windows Installer package ends at the marker slot below. A taxonomy
    // package gets the page of installers that run on a worker (its
    // installer comes with the non-MSI installers; without one it passes).
    const bool msi = main && main->IsMsi();
    if (main && EqualsNoCase(main->Facts().installerType, L"taxonomy")) {
        pages_.push_back(std::make_unique<NonMSIInstallWizardPage>(*this, nullptr));
    }
    if (packages.size() <= 1 && msi) pages_.push_back(nullptr);
    finishPage_ = static_cast<int>(pages_.size());
    pages_.push_back(std::make_unique<FinishWizardPage>(*this));
}

WizardPageBase* CWizardDialog::Page(int index) const { return Inside(index) ? pages_[static_cast<size_t>(index)].get() : nullptr; }

BOOL CWizardDialog::OnInitDialog() {
    CDialogBase::OnInitDialog();
    if (!showUI_) StayHidden();
    RECT area{};
    ::GetWindowRect(Item(kPageArea), &area);
    for (const auto& page : pages_) {
        if (!page) continue;
        page->Create(WS_EX_CONTROLPARENT, WS_CHILD, 20, 10, (area.right - area.left) - 40, (area.bottom - area.top) - 20,
                     Item(kPageArea), kPageId);
    }
    whiteBrush_.reset(::CreateSolidBrush(RGB(255, 255, 255)));
    ::SetWindowTextW(Handle(), title_.c_str());
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    icon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIcon), IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIcon), IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    // The first page may run the whole (hidden) wizard from here; the brush,
    // title and icon are in place before it starts.
    currentPage_ = 0;
    if (WizardPageBase* first = Page(0)) first->Activate();
    return TRUE;
}

bool CWizardDialog::ReportPendingResult() {
    const SetupResult& result = App().Result();
    if (result.code == 0 || result.reported) return false;
    App().ReportResult();
    return true;
}

void CWizardDialog::Next() {
    if (WizardPageBase* page = Page(currentPage_)) {
        const bool leave = page->OnNext();
        page->Deactivate();
        if (leave) ++currentPage_;
    }
    if (ReportPendingResult()) {
        if (finishPage_ > 0 && finishPage_ != currentPage_) {
            currentPage_ = finishPage_;
            // A quiet run reports on the finish page without ever showing a window.
            if (showUI_) {
                ::ShowWindow(Handle(), SW_SHOW);
                const HWND top = ::GetAncestor(Handle(), GA_ROOT);
                ::SetForegroundWindow(top);
                ::SetActiveWindow(top);
            }
        } else {
            currentPage_ = PageCount();
        }
    }
    if (WizardPageBase* page = Page(currentPage_)) {
        ::EnableWindow(Item(kBackButton), TRUE);
        page->Activate();
    } else {
        EndDialog(IDOK);
    }
}

void CWizardDialog::OnBackClicked() {
    WizardPageBase* page = Page(currentPage_);
    if (!page || !page->OnBack()) return;
    page->Deactivate();
    if (currentPage_ == 0) {
        OnCancel();
        return;
    }
    --currentPage_;
    if (currentPage_ == 0) ::EnableWindow(Item(kBackButton), FALSE);
    if (WizardPageBase* previous = Page(currentPage_)) previous->Activate();
}

void CWizardDialog::OnCancel() {
    if (WizardPageBase* page = Page(currentPage_)) {
        if (!page->OnCancelRequest()) return;
        page->Deactivate();
    }
    if (finishPage_ > 0 && finishPage_ != currentPage_) {
        ReportPendingResult();
        currentPage_ = finishPage_;
        if (WizardPageBase* finish = Page(currentPage_)) finish->Activate();
        return;
    }
    EndDialog(IDCANCEL);
}

bool CWizardDialog::OnCommand(WORD id, WORD code, HWND) {
    if (id == kBackButton && code == BN_CLICKED) {
        OnBackClicked();
        return true;
    }
    if (id == kLanguageBox && code == CBN_SELCHANGE) {
        OnLanguageChanged();
        return true;
    }
    return false;
}

void CWizardDialog::UpdateTexts() {
    ::SetWindowTextW(Handle(), App().AppName().c_str());
    ::SetDlgItemTextW(Handle(), IDOK, Languages().LoadLanguageString(54).c_str());
    ::SetDlgItemTextW(Handle(), IDCANCEL, Languages().LoadLanguageString(57).c_str());
    ::SetDlgItemTextW(Handle(), kBackButton, Languages().LoadLanguageString(56).c_str());
    if (App().IsMultiLanguage()) {
        const HWND box = Item(kLanguageBox);
        ::SendMessageW(box, CB_RESETCONTENT, 0, 0);
        const UILanguage* current = Languages().Current();
        for (const UILanguage& language : Languages().Languages()) {
            const LRESULT index = ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language.displayName.c_str()));
            if (current && language.displayName == current->displayName) ::SendMessageW(box, CB_SETCURSEL, index, 0);
        }
    }
    if (WizardPageBase* page = Page(currentPage_)) page->UpdateTexts();
}

void CWizardDialog::OnLanguageChanged() {
    const HWND box = Item(kLanguageBox);
    const LRESULT index = ::SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    const LRESULT length = ::SendMessageW(box, CB_GETLBTEXTLEN, index, 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    ::SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(lstrlenW(text.c_str()));
    for (const UILanguage& language : Languages().Languages()) {
        if (language.displayName == text) {
            Languages().SelectByLangId(language.langId);
            break;
        }
    }
    WizardPageBase* page = Page(currentPage_);
    if (page) ::ShowWindow(page->Handle(), SW_HIDE);
    UpdateTexts();
    if (page) ::ShowWindow(page->Handle(), SW_SHOW);
}

void CWizardDialog::SetInstallerResult(UINT installerResult) {
    if (installerResult == 0) return;
    int32_t code = 2;
    switch (installerResult) {
    case 1602: code = 3; break;
    case 1620: code = 1; break;
    case 1633: code = 10; break;
    case 1638: code = 8; break;
    default: break;
    }
    App().SetResult(code, installerResult, false);
}

bool CWizardDialog::HasFollowingPage() const { return Page(currentPage_ + 1) != nullptr; }

bool CWizardDialog::IsRepair() const { return App().CommandLine().Repair(); }
bool CWizardDialog::IsUninstall() const { return App().CommandLine().Uninstall(); }
bool CWizardDialog::IsModify() const { return mainInstalled_ && !IsRepair() && !IsUninstall(); }
bool CWizardDialog::CanChooseLanguage() const { return !IsUninstall() && !IsRepair() && !mainInstalled_; }

void CWizardDialog::RefreshMainInstalled() {
    const auto& packages = App().Packages();
    mainInstalled_ = !packages.empty() && IsInstalled(*packages.front());
}
