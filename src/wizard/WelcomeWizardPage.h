#pragma once
// The first page: names the product and says what the run will do, and
// offers the language choice on a first installation of a multi-language
// setup.
#include "wizard/WizardPageBase.h"

class WelcomeWizardPage : public WizardPageBase {
public:
    explicit WelcomeWizardPage(CWizardDialog& wizard) : WizardPageBase(L"Welcome", wizard) {}

    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void OnActivated() override;

private:
    HWND product_ = nullptr;
    HWND description_ = nullptr;
};
