#pragma once
// Measuring a control's text the way the control draws it: with the control's
// own font, on a device context of its window.
#include <windows.h>
#include <string>

#include "wizard/layout/LayoutGeometry.h"

// The window text of a control.
std::wstring ControlText(HWND control);

// The extent of text drawn with DrawText's `format` (DT_SINGLELINE, or
// DT_WORDBREAK to wrap at `width`). False, with an empty size, when the
// control has no window or no device context.
bool MeasureControlText(HWND control, const std::wstring& text, UINT format, int width, SIZE& size);

// A check box's or radio button's size: its caption on one line (also for a
// multi-line button) beside the box, with a 2-pixel gap; at least as high as
// the box.
VEZASize MeasureBoxedCaption(HWND button, int boxSize);
