#pragma once
// A static text, wrapped at the width it is offered or kept on one line.
#include <windows.h>
#include <string>

#include "wizard/layout/VEZAWidget.h"

class VEZASimpleTextWidget : public VEZAWidget {
public:
    VEZASimpleTextWidget(HWND parent, const std::wstring& text, HFONT font, bool wrap, bool visible);

    // The text's extent with the control's font: wrapped at the available
    // width, or on one line for a text that does not wrap. It grows
    // horizontally. 0 x 0 without a device context.
    VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                     bool& growsVertically) const override;
};
