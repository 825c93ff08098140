#pragma once
// A radio button with its caption; clicks go to the parent as WM_COMMAND with
// the command id.
#include <windows.h>
#include <string>

#include "wizard/layout/VEZAWidget.h"

class VEZARadioButtonWidget : public VEZAWidget {
public:
    static constexpr int kBoxSize = 16;

    VEZARadioButtonWidget(HWND parent, const std::wstring& text, HFONT font, bool multiLine,
                          UINT commandId);

    // The caption on one line beside the box; grows horizontally.
    VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                     bool& growsVertically) const override;
};
