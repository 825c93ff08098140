#include "wizard/layout/VEZABoxedButtonWidget.h"

#include "wizard/layout/TextMeasure.h"

VEZABoxedButtonWidget::VEZABoxedButtonWidget(HWND parent, const std::wstring& text, HFONT font,
                                             bool multiLine, UINT commandId, DWORD buttonStyle) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | buttonStyle | (multiLine ? BS_MULTILINE : 0);
    Create(L"BUTTON", text, style, RECT{}, parent, commandId);
    SetFont(font, true);
}

VEZASize VEZABoxedButtonWidget::Measure(const VEZASize&, bool& growsHorizontally,
                                        bool& growsVertically) const {
    growsHorizontally = true;
    growsVertically = false;
    return MeasureBoxedCaption(Handle(), kBoxSize);
}
