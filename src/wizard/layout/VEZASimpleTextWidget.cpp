#include "wizard/layout/VEZASimpleTextWidget.h"

#include "wizard/layout/TextMeasure.h"

VEZASimpleTextWidget::VEZASimpleTextWidget(HWND parent, const std::wstring& text, HFONT font,
                                           bool wrap, bool visible) {
    const DWORD style = WS_CHILD | (visible ? WS_VISIBLE : 0) | (wrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
    Create(L"STATIC", text, style, RECT{}, parent, kStaticId);
    SetFont(font, true);
}

VEZASize VEZASimpleTextWidget::Measure(const VEZASize& available, bool& growsHorizontally,
                                       bool& growsVertically) const {
    growsHorizontally = true;
    growsVertically = false;
    const LONG_PTR style = Handle() ? ::GetWindowLongPtrW(Handle(), GWL_STYLE) : 0;
    const bool oneLine = (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
    SIZE size{};
    MeasureControlText(Handle(), ControlText(Handle()), oneLine ? DT_SINGLELINE : DT_WORDBREAK,
                       available.width, size);
    return {size.cx, size.cy};
}
