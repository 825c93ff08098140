#include "wizard/WelcomeWizardPage.h"

#include "app/SetupApp.h"
#include "wizard/WizardDialog.h"

namespace {
std::wstring MainProductName(CSetupApp& app) {
    const auto& packages = app.Packages();
    return packages.empty() ? std::wstring() : packages.front()->Facts().productName;
}
}  // namespace

void WelcomeWizardPage::CreateControls(HWND, int width, int) {
    product_ = CreateText(0, 10, width, 30, wizard_.TitleFont());
    description_ = CreateText(0, 40, width, 110, wizard_.TextFont());
}

void WelcomeWizardPage::UpdateTexts() {
    CSetupApp& app = wizard_.App();
    const std::wstring product = MainProductName(app);
    ::SetWindowTextW(product_, product.c_str());
    std::wstring description;
    if (wizard_.IsRepair()) {
        description = languages_.LoadLanguageString(38);
    } else if (wizard_.IsUninstall()) {
        description = languages_.LoadLanguageString(36);
    } else if (wizard_.IsModify()) {
        description = languages_.LoadLanguageString(37);
    } else {
        description = languages_.FormatLanguageString(app.WelcomeTextId(), product);
    }
    ::SetWindowTextW(description_, description.c_str());
}

void WelcomeWizardPage::OnActivated() {
    const bool choose = wizard_.App().IsMultiLanguage() && wizard_.CanChooseLanguage();
    ::ShowWindow(wizard_.Item(CWizardDialog::kLanguageBox), choose ? SW_SHOW : SW_HIDE);
    ::EnableWindow(wizard_.Item(CWizardDialog::kBackButton), FALSE);  // the first page
    ::EnableWindow(wizard_.Item(IDOK), TRUE);
    ShowPage();
}
