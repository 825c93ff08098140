#include "wizard/layout/ControlHelpers.h"

#include "wizard/layout/TextMeasure.h"

int FitHeightToText(HWND control) {
    RECT client{};
    RECT window{};
    if (!control || !::GetClientRect(control, &client) || !::GetWindowRect(control, &window))
        return 0;
    SIZE text{};
    if (!MeasureControlText(control, ControlText(control), DT_WORDBREAK, client.right, text))
        return 0;
    const int change = text.cy - client.bottom;
    if (change == 0) return 0;
    // The frame (a border, for instance) stays as it is: the window keeps its
    // width and changes its height by the difference, so that the client
    // area becomes exactly as high as the text.
    ::SetWindowPos(control, nullptr, 0, 0, window.right - window.left,
                   window.bottom - window.top + change, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return change;
}

void MoveBy(HWND control, int dx, int dy) {
    RECT window{};
    if (!control || !::GetWindowRect(control, &window)) return;
    POINT origin{window.left, window.top};
    // Screen to the parent's client coordinates (for a top-level window the
    // parent is the desktop, whose client coordinates are the screen's).
    ::ScreenToClient(::GetAncestor(control, GA_PARENT), &origin);
    ::SetWindowPos(control, nullptr, origin.x + dx, origin.y + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
