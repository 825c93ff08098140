#include "framework/Control.h"

namespace fw {

bool CControl::Create(const wchar_t* className, const std::wstring& text, DWORD style,
                      const RECT& rect, HWND parent, UINT id, DWORD exStyle) {
    window_.reset();
    HWND window = ::CreateWindowExW(exStyle, className, text.c_str(), style, rect.left, rect.top,
                                    rect.right - rect.left, rect.bottom - rect.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                    ::GetModuleHandleW(nullptr), nullptr);
    window_.reset(window);
    return window != nullptr;
}

void CControl::SetFont(HFONT font, bool redraw) {
    if (window_)
        ::SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                       MAKELPARAM(redraw ? TRUE : FALSE, 0));
}

HFONT CControl::Font() const {
    if (!window_) return nullptr;
    return reinterpret_cast<HFONT>(::SendMessageW(window_.get(), WM_GETFONT, 0, 0));
}

}  // namespace fw
