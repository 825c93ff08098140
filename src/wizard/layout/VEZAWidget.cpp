#include "wizard/layout/VEZAWidget.h"

#include <algorithm>

void VEZAWidget::Arrange(const VEZARect& rect) {
    if (!Handle()) return;
    // A line whose content does not fit can hand out negative extents.
    ::SetWindowPos(Handle(), HWND_TOP, rect.x, rect.y, std::max(rect.width, 0),
                   std::max(rect.height, 0), SWP_NOACTIVATE);
}

void VEZAWidget::Show(int showCommand) {
    if (Handle()) ::ShowWindow(Handle(), showCommand);
}
