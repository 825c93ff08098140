#include "wizard/NonMSIInstallWizardPage.h"

#include "app/SetupApp.h"
#include "engine/SetupAction.h"
#include "framework/MessageLoop.h"
#include "wizard/WizardDialog.h"

namespace {

// The installer's operation for the run, in the order of the actions.
DWORD WINAPI NonMsiWorker(LPVOID argument) {
    auto* page = static_cast<NonMSIInstallWizardPage*>(argument);
    SetupAsyncInstallProcessIF* installer = page->Installer();
    if (!installer) return 0;
    CSetupApp& app = CSetupApp::Get();
    const auto& packages = app.Packages();
    const bool mainInstalled = !packages.empty() && IsInstalled(*packages.front());
    SetupResult result;
    switch (ChooseAction(app.CommandLine(), mainInstalled)) {
    case SetupAction::Extract: result = installer->Extract(packages, *page); break;
    case SetupAction::Repair: result = installer->Repair(packages, *page); break;
    case SetupAction::Remove: result = installer->Remove(packages, *page); break;
    case SetupAction::Modify: result = installer->Modify(packages, *page); break;
    case SetupAction::Install: result = installer->Install(packages, *page); break;
    }
    return static_cast<DWORD>(result.code);
}

}  // namespace

NonMSIInstallWizardPage::NonMSIInstallWizardPage(CWizardDialog& wizard, std::unique_ptr<SetupAsyncInstallProcessIF> installer)
    : WizardPageBase(L"NonMSIInstall", wizard), installer_(std::move(installer)) {}

NonMSIInstallWizardPage::~NonMSIInstallWizardPage() = default;

void NonMSIInstallWizardPage::CreateControls(HWND parent, int width, int height) {
    layout_ = std::make_unique<VEZAVerticalLayout>();
    auto text = std::make_unique<VEZASimpleTextWidget>(parent, L" ", wizard_.TextFont(), true, true);
    auto progress = std::make_unique<VEZAProgressWidget>(parent, kPositionMessage, 100, true);
    text_ = text.get();
    progress_ = progress.get();
    layout_->Add(std::move(text), 0);
    layout_->Add(std::move(progress), 0);
    layout_->SetGeometry({0, 0, width, height});
}

LRESULT NonMSIInstallWizardPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && layout_) layout_->SetGeometry({0, 0, LOWORD(lParam), HIWORD(lParam)});
    return WizardPageBase::WindowProc(message, wParam, lParam);
}

void NonMSIInstallWizardPage::SetRange(int maximum) { progress_->SetMaximum(maximum); }

void NonMSIInstallWizardPage::SetStatusText(const std::wstring& text) { ::SetWindowTextW(text_->Handle(), text.c_str()); }

void NonMSIInstallWizardPage::SetPosition(int position) { progress_->SetPosition(position); }

void NonMSIInstallWizardPage::Advance(int delta) { progress_->OffsetPosition(delta); }

void NonMSIInstallWizardPage::Activate() {
    LogActivation();
    UpdateTexts();
    ShowPage();
    if (!installer_) {
        wizard_.Next();
        return;
    }
    worker_.reset(::CreateThread(nullptr, 0, NonMsiWorker, this, CREATE_SUSPENDED, nullptr));
    if (worker_) {
        ::ResumeThread(worker_.get());
        for (;;) {
            const HANDLE worker = worker_.get();
            const DWORD wait = ::MsgWaitForMultipleObjects(1, &worker, FALSE, 50, QS_ALLINPUT);
            progress_->ApplyPendingPosition();
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    WriteLog(3, L"QVR (c): Received 'quit' message\r\n");
                    // The page ends with the wizard; the installer must not run on.
                    installer_->Cancel();
                    fw::WaitLettingSentMessagesThrough(worker_.get());
                    worker_.reset();
                    fw::PostQuitTo(::GetCurrentThreadId(), static_cast<int>(msg.wParam));
                    return;
                }
                if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) installer_->Cancel();
                fw::DispatchOneMessage(msg);
            }
            if (wait == WAIT_OBJECT_0) break;
        }
        DWORD exitCode = 0;
        ::GetExitCodeThread(worker_.get(), &exitCode);
        SetupResult result = result_;
        result.code = static_cast<int32_t>(exitCode);
        wizard_.App().SetResult(result.code, result.systemError, result.reported);
        worker_.reset();
    }
    wizard_.Next();
}
