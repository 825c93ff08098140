#pragma once
// The install page of a package that is not a Windows Installer package: its
// installer runs on a worker thread and reports through this page, which
// shows a status text and a bar, lets Escape stop the installer, and moves
// the wizard on when the installer is done.
#include <memory>

#include "engine/nonmsi/AsyncInstall.h"
#include "framework/UniqueHandle.h"
#include "wizard/WizardPageBase.h"
#include "wizard/layout/VEZAProgressWidget.h"
#include "wizard/layout/VEZASimpleTextWidget.h"
#include "wizard/layout/VEZAVerticalLayout.h"

class NonMSIInstallWizardPage : public WizardPageBase, public SetupReportAsyncProgressIF {
public:
    static constexpr UINT kPositionMessage = 1026;

    // installer may be null: the page then passes at once.
    NonMSIInstallWizardPage(CWizardDialog& wizard, std::unique_ptr<SetupAsyncInstallProcessIF> installer);
    ~NonMSIInstallWizardPage() override;

    void Activate() override;
    void CreateControls(HWND parent, int width, int height) override;
    void UpdateTexts() override {}

    // From the worker thread.
    void SetRange(int maximum) override;
    void SetStatusText(const std::wstring& text) override;
    void SetPosition(int position) override;
    void Advance(int delta) override;

    SetupAsyncInstallProcessIF* Installer() const { return installer_.get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<VEZAVerticalLayout> layout_;
    VEZASimpleTextWidget* text_ = nullptr;      // owned by layout_
    VEZAProgressWidget* progress_ = nullptr;    // owned by layout_
    std::unique_ptr<SetupAsyncInstallProcessIF> installer_;
    fw::UniqueKernelHandle worker_;
    SetupResult result_{0, 0, true};
};
