#pragma once
// A check box with its caption.
#include "wizard/layout/VEZABoxedButtonWidget.h"

class VEZACheckboxWidget : public VEZABoxedButtonWidget {
public:
    VEZACheckboxWidget(HWND parent, const std::wstring& text, HFONT font, bool multiLine, UINT commandId)
        : VEZABoxedButtonWidget(parent, text, font, multiLine, commandId, BS_AUTOCHECKBOX) {}
};
