#include "wizard/FinishWizardPage.h"

#include "app/SetupApp.h"
#include "wizard/WizardDialog.h"

void FinishWizardPage::CreateControls(HWND, int width, int height) {
    image_ = CreateText(0, 10, 48, 58, nullptr, SS_ICON);
    const HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(CWizardDialog::kIcon),
                                                       IMAGE_ICON, 48, 48, LR_SHARED));
    ::SendMessageW(image_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    heading_ = CreateText(63, 13, width, 33, wizard_.TitleFont());
    mainText_ = CreateText(63, 33, width, 73, wizard_.TextFont());
    secondaryText_ = CreateText(0, 73, width, 133, wizard_.TextFont());
    closingLine_ = CreateText(0, height - 30, width, height - 10, wizard_.TextFont());
}

void FinishWizardPage::UpdateTexts() {
    CSetupApp& app = wizard_.App();
    const bool success = app.Result().code == 0;
    const auto& packages = app.Packages();
    const std::wstring product = packages.empty() ? std::wstring() : packages.front()->Facts().productName;
    struct Texts {
        unsigned success, interrupted, secondary;
    };
    Texts texts{30, 31, 32};  // installation
    if (wizard_.IsRepair()) {
        texts = {44, 48, 0};
    } else if (wizard_.IsUninstall()) {
        texts = {43, 46, 1046};
    } else if (wizard_.IsModify()) {
        texts = {45, 47, 0};
    }
    ::SetDlgItemTextW(wizard_.Handle(), IDOK, languages_.LoadLanguageString(55).c_str());
    ::SetWindowTextW(heading_, languages_.LoadLanguageString(success ? 28 : 29).c_str());
    ::SetWindowTextW(mainText_, languages_.FormatLanguageString(success ? texts.success : texts.interrupted, product).c_str());
    const std::wstring secondary =
        success || texts.secondary == 0 ? std::wstring() : languages_.FormatLanguageString(texts.secondary, product);
    ::SetWindowTextW(secondaryText_, secondary.c_str());
    ::SetWindowTextW(closingLine_, languages_.LoadLanguageString(33).c_str());
}

void FinishWizardPage::OnActivated() {
    ::EnableWindow(wizard_.Item(CWizardDialog::kBackButton), FALSE);
    ::SetFocus(wizard_.Item(IDOK));
    ShowPage();
}
