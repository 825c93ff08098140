#include "wizard/UnpackWizardPage.h"

#include <commctrl.h>

#include "engine/CancelFlag.h"
#include "app/SetupApp.h"
#include "framework/MessageLoop.h"
#include "wizard/WizardDialog.h"
#include "wizard/layout/TextMeasure.h"

namespace {

std::wstring WithoutTrademarkSigns(std::wstring text) {
    std::erase(text, L'\u2122');
    return text;
}

// Height of text in a control's font, wrapped at the control's width.
int MeasuredTextHeight(HWND control, const std::wstring& text) {
    RECT client;
    ::GetClientRect(control, &client);
    SIZE size{};
    return MeasureControlText(control, text, DT_WORDBREAK, client.right, size) ? size.cy : 0;
}

void ForwardPosition(HWND bar, const MSG& msg) {
    if (::IsWindow(bar)) ::SendMessageW(bar, PBM_SETPOS, msg.wParam, 0);
}

}  // namespace

void UnpackWizardPage::CreateControls(HWND, int width, int) {
    const bool longName = wizard_.App().ProductName().size() >= 50;
    title_ = CreateText(0, 20, width, 39, wizard_.TitleFont());
    explanation_ = CreateText(0, 39, width, 96, wizard_.TextFont());
    const int statusBottom = longName ? 134 : 115;
    status_ = CreateText(0, 96, width, statusBottom, wizard_.TextFont());
    bar_ = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, statusBottom, width, 14, Handle(),
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kProgressBar)), ::GetModuleHandleW(nullptr), nullptr);
    handler_ = std::make_unique<ExtractionProgressHandler>(bar_, 30);
    ::SendMessageW(bar_, PBM_SETRANGE32, 0, 30);
}

void UnpackWizardPage::UpdateTexts() {
    CSetupApp& app = wizard_.App();
    ::SetWindowTextW(title_, languages_.LoadLanguageString(4).c_str());
    const unsigned id = app.Packages().size() > 1 ? 7 : 3;
    ::SetWindowTextW(explanation_, WithoutTrademarkSigns(languages_.FormatLanguageString(id, app.ProductName())).c_str());
}

void UnpackWizardPage::SetStatusText(const std::wstring& text) {
    if (!::IsWindowVisible(status_)) return;
    ::SetWindowTextW(status_, text.c_str());
    if (statusPlaced_) return;
    const int height = MeasuredTextHeight(status_, text);
    if (height <= 0) return;
    // The bar sits just below the first line of status text.
    RECT status;
    ::GetWindowRect(status_, &status);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&status), 2);
    ::SetWindowPos(bar_, nullptr, status.left, status.top + height + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Handle(), nullptr, TRUE);
    statusPlaced_ = true;
}

void UnpackWizardPage::Activate() {
    LogActivation();
    CSetupApp& app = wizard_.App();
    UpdateTexts();
    ::EnableWindow(wizard_.Item(IDCANCEL), TRUE);
    ::EnableWindow(wizard_.Item(CWizardDialog::kBackButton), FALSE);
    ::EnableWindow(wizard_.Item(IDOK), FALSE);
    list_ = BuildExtractionList(app.Packages(), app.CommandLine().Repair());
    settings_ = ExtractionSettings::ForRun(app);
    ShowPage();

    running_ = true;
    worker_.reset(::CreateThread(nullptr, 0, SetupWorkerThread, this, CREATE_SUSPENDED, nullptr));
    if (worker_) {
        ::ResumeThread(worker_.get());
        WriteLog(3, L"QVR (c): Created SetupWorkerThread\r\n");
        if (!WaitForWorker()) {
            running_ = false;
            return;
        }
    }
    running_ = false;
    if (CancelRequested()) app.SetResult(3, 0, false);
    wizard_.Next();
}

bool UnpackWizardPage::WaitForWorker() {
    const auto quit = [this](const MSG& msg) {
        WriteLog(3, L"QVR (c): Received 'quit' message\r\n");
        // The wizard and this page end with the quit; a worker left running
        // would go on using them. It is stopped first.
        if (worker_) {
            RequestCancel();
            StopWorker();
            worker_.reset();
        }
        fw::PostQuitTo(::GetCurrentThreadId(), static_cast<int>(msg.wParam));
        return false;
    };
    MSG msg;
    for (;;) {
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) RequestCancel();  // the key still reaches the wizard
            // (A quit message comes out of any filtered peek.)
            if (::PeekMessageW(&msg, nullptr, kExtractionPositionMessage, kExtractionPositionMessage, PM_REMOVE)) {
                if (msg.message == WM_QUIT) return quit(msg);
                ForwardPosition(bar_, msg);
                continue;
            }
            if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
            if (msg.message == WM_QUIT) return quit(msg);
            fw::DispatchOneMessage(msg);
            continue;
        }
        const HANDLE worker = worker_.get();
        if (::MsgWaitForMultipleObjects(1, &worker, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) continue;
        WriteLog(3, L"QVR (c): Worker-thread stopped\r\n");
        worker_.reset();
        int quitCode = 0;
        if (DrainAfterWorker(bar_, &quitCode)) return true;
        msg.wParam = static_cast<WPARAM>(quitCode);
        return quit(msg);
    }
}

bool DrainAfterWorker(HWND bar, int* quitCode) {
    // Positions the worker posted at its end still reach the bar. (A quit
    // message comes out of any filtered peek as well.)
    const ULONGLONG start = ::GetTickCount64();
    while (::GetTickCount64() - start <= 999) {
        MSG msg;
        const bool got = ::PeekMessageW(&msg, nullptr, kExtractionPositionMessage, kExtractionPositionMessage, PM_REMOVE) ||
                         ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        if (!got) {
            ::Sleep(50);
        } else if (msg.message == WM_QUIT) {
            if (quitCode) *quitCode = static_cast<int>(msg.wParam);
            return false;
        } else if (msg.message == kExtractionPositionMessage) {
            ForwardPosition(bar, msg);
        } else {
            fw::DispatchOneMessage(msg);
        }
    }
    return true;
}

bool UnpackWizardPage::OnCancelRequest() {
    // While the page runs (the worker, then the last second of its messages)
    // the page itself moves on, with the cancellation recorded; a wizard
    // moved by the cancel as well would skip the finish page.
    if (!running_) return WizardPageBase::OnCancelRequest();
    if (CancelRequested()) return false;
    RequestCancel();
    if (worker_) StopWorker();
    return false;
}

void UnpackWizardPage::StopWorker() {
    if (fw::WaitLettingSentMessagesThrough(worker_.get())) WriteLog(3, L"QVR (c): Worker-thread stopped\r\n");
}

DWORD WINAPI SetupWorkerThread(LPVOID argument) {
    auto* page = static_cast<UnpackWizardPage*>(argument);
    if (!fw::CApplication::Current() || CancelRequested()) return static_cast<DWORD>(SetResult(2));
    uint64_t total = 0;
    for (const ExtractionEntry& entry : page->List()) total += entry.size;
    page->Handler().SetTotal(total);
    uint64_t base = 0;
    for (const ExtractionEntry& entry : page->List()) {
        page->Handler().SetBase(base);
        if (CancelRequested()) return static_cast<DWORD>(SetResult(3));
        const int result = ExtractPackage(*entry.package, &page->Handler(), page->Settings(), page);
        page->SetLastError(result);
        if (result != 0 && !CancelRequested()) {
            WriteLog(1, L"QVR (c): Error extracting cabinet file - %d.\r\n", result);
            return static_cast<DWORD>(SetResult(result));
        }
        base += entry.size;
    }
    return static_cast<DWORD>(SetResult(CancelRequested() ? 3 : 0));
}
