#pragma once
// A control window that is at the same time a leaf of the layout tree. The
// widget's window is destroyed with the widget, so a container deleting its
// children takes their windows with them.
#include <windows.h>

#include "framework/Control.h"
#include "wizard/layout/VEZALayout.h"

class VEZAWidget : public fw::CControl, public VEZALayout {
public:
    // Moves and sizes the window to the rectangle, on top of its siblings,
    // without activating it.
    void Arrange(const VEZARect& rect) override;
    void Show(int showCommand) override;

protected:
    // The id static controls of the toolkit carry: they send no commands.
    static constexpr UINT kStaticId = 0xFFFF;
};
