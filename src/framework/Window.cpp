#include "framework/Window.h"

namespace fw {

namespace {
constexpr wchar_t kClassName[] = L"OrvaneWindow";

bool RegisterWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        return ::RegisterClassExW(&wc) != 0;
    }();
    return registered;
}
}  // namespace

CWindow::~CWindow() { Destroy(); }

bool CWindow::Create(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent, UINT id) {
    if (hwnd_ || !RegisterWindowClass(Dispatch)) return false;
    const HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    return ::CreateWindowExW(exStyle, kClassName, L"", style, x, y, width, height, parent, menu,
                             ::GetModuleHandleW(nullptr), this) != nullptr;
}

void CWindow::Destroy() {
    if (!hwnd_) return;
    const HWND window = hwnd_;
    ::DestroyWindow(window);  // WM_NCDESTROY clears hwnd_
    hwnd_ = nullptr;
}

LRESULT CWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CWindow::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace fw
