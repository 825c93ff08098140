#pragma once
// A radio button with its caption.
#include "wizard/layout/VEZABoxedButtonWidget.h"

class VEZARadioButtonWidget : public VEZABoxedButtonWidget {
public:
    VEZARadioButtonWidget(HWND parent, const std::wstring& text, HFONT font, bool multiLine, UINT commandId)
        : VEZABoxedButtonWidget(parent, text, font, multiLine, commandId, BS_AUTORADIOBUTTON) {}
};
