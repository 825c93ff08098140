#include "wizard/layout/VEZARadioButtonWidget.h"

#include "wizard/layout/TextMeasure.h"

VEZARadioButtonWidget::VEZARadioButtonWidget(HWND parent, const std::wstring& text, HFONT font,
                                             bool multiLine, UINT commandId) {
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (multiLine ? BS_MULTILINE : 0);
    Create(L"BUTTON", text, style, RECT{}, parent, commandId);
    SetFont(font, true);
}

VEZASize VEZARadioButtonWidget::Measure(const VEZASize&, bool& growsHorizontally,
                                        bool& growsVertically) const {
    growsHorizontally = true;
    growsVertically = false;
    return MeasureBoxedCaption(Handle(), kBoxSize);
}
