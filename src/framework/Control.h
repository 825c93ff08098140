#pragma once
// A child control window owned by an object: created from a window class
// name, destroyed with its owner. The base of the layout tree's widgets.
#include <windows.h>
#include <string>

#include "framework/UniqueHandle.h"

namespace fw {

class CControl {
public:
    CControl() = default;
    virtual ~CControl() = default;
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Creates the control as a child of parent; a control created earlier
    // by this object is destroyed first. False when the window system refuses
    // (the object then has no window).
    bool Create(const wchar_t* className, const std::wstring& text, DWORD style, const RECT& rect,
                HWND parent, UINT id, DWORD exStyle = 0);

    HWND Handle() const { return window_.get(); }

    // WM_SETFONT; the font stays owned by the caller and must outlive the control.
    void SetFont(HFONT font, bool redraw = true);
    HFONT Font() const;

private:
    UniqueWindow window_;
};

}  // namespace fw
