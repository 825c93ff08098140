#include "wizard/layout/VEZACheckboxWidget.h"

#include "wizard/layout/TextMeasure.h"

VEZACheckboxWidget::VEZACheckboxWidget(HWND parent, const std::wstring& text, HFONT font,
                                       bool multiLine, UINT commandId) {
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | (multiLine ? BS_MULTILINE : 0);
    Create(L"BUTTON", text, style, RECT{}, parent, commandId);
    SetFont(font, true);
}

VEZASize VEZACheckboxWidget::Measure(const VEZASize&, bool& growsHorizontally,
                                     bool& growsVertically) const {
    growsHorizontally = true;
    growsVertically = false;
    return MeasureBoxedCaption(Handle(), kBoxSize);
}
