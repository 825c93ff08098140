#pragma once
// A button drawn as a box with its caption beside it (check box, radio
// button); clicks go to the parent as WM_COMMAND with the command id.
#include <windows.h>
#include <string>

#include "wizard/layout/VEZAWidget.h"

class VEZABoxedButtonWidget : public VEZAWidget {
public:
    static constexpr int kBoxSize = 16;

    // The caption on one line beside the box; grows horizontally.
    VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                     bool& growsVertically) const override;

protected:
    // buttonStyle: BS_AUTOCHECKBOX or BS_AUTORADIOBUTTON.
    VEZABoxedButtonWidget(HWND parent, const std::wstring& text, HFONT font, bool multiLine,
                          UINT commandId, DWORD buttonStyle);
};
