#include "framework/MessageLoop.h"

namespace fw {

bool PostQuitTo(DWORD threadId, int code) {
    return ::PostThreadMessageW(threadId, WM_QUIT, static_cast<WPARAM>(code), 0) != FALSE;
}

namespace {
bool IsDialogWindow(HWND window) {
    wchar_t name[16] = {};
    return window && ::GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0;
}
}  // namespace

void DispatchOneMessage(MSG& msg) {
    const HWND top = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (IsDialogWindow(top) && ::IsDialogMessageW(top, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

bool RunModalLoop(const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) return false;
        if (got == 0) {
            PostQuitTo(::GetCurrentThreadId(), static_cast<int>(msg.wParam));
            return false;
        }
        DispatchOneMessage(msg);
    }
    return true;
}

bool WaitLettingSentMessagesThrough(HANDLE object) {
    DWORD wait;
    while ((wait = ::MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_SENDMESSAGE)) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return wait == WAIT_OBJECT_0;
}

int DrainUntilQuit() {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 0;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace fw
