#include "framework/Application.h"

namespace fw {

CApplication* CApplication::current_ = nullptr;

CApplication::CApplication()
    : mainThreadId_(::GetCurrentThreadId()), instance_(::GetModuleHandleW(nullptr)) {
    current_ = this;
    // Give the main thread its message queue now, so that quit messages
    // posted to it from other threads are never lost.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

CApplication::~CApplication() {
    if (current_ == this) current_ = nullptr;
}

void CApplication::ParseCommandLine(CCommandLineInfoBase& info) {
    FeedArguments(info, SplitCommandLine(::GetCommandLineW()));
}

int CApplication::Run() {
    if (InitInstance()) {
        MSG msg;
        BOOL got;
        while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (got == 0) quitCode_ = static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}

}  // namespace fw
