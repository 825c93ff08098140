#pragma once
// The last page of every wizard: the outcome of the run in the words of its
// mode, ended with Finish or Cancel.
#include "wizard/WizardPageBase.h"

class FinishWizardPage : public WizardPageBase {
public:
    explicit FinishWizardPage(CWizardDialog& wizard) : WizardPageBase(L"Finish", wizard) {}

    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override;
    void OnActivated() override;
    // Cancel ends the wizard like Finish and leaves the result as it is.
    bool OnCancelRequest() override { return true; }

private:
    HWND image_ = nullptr;
    HWND heading_ = nullptr;
    HWND mainText_ = nullptr;
    HWND secondaryText_ = nullptr;
    HWND closingLine_ = nullptr;
};
