#pragma once
// Helpers for pages that place their controls at fixed positions.
#include <windows.h>

// Makes the control as high as its window text needs, word-wrapped at the
// width of its client area with the control's font, keeping its position,
// width and Z order. Returns the change of height (text height minus the
// former client height), 0 when nothing changed or the control has no text
// measurement.
int FitHeightToText(HWND control);

// Moves the control by dx, dy in its parent's client coordinates, keeping
// its size and Z order, without activating it.
void MoveBy(HWND control, int dx, int dy);
