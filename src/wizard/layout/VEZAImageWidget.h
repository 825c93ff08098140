#pragma once
// An icon in a static control.
#include <windows.h>

#include "wizard/layout/VEZAWidget.h"

class VEZAImageWidget : public VEZAWidget {
public:
    // The icon stays owned by the caller and must outlive the widget.
    VEZAImageWidget(HWND parent, HICON icon, bool visible);

    // The size of the icon the control shows (0 x 0 without one); no growth.
    VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                     bool& growsVertically) const override;
};
