#include "wizard/layout/TextMeasure.h"

#include <algorithm>
#include <vector>

#include "wizard/layout/LayoutGeometry.h"

std::wstring ControlText(HWND control) {
    if (!control) return {};
    const int length = ::GetWindowTextLengthW(control);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextW(control, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

bool MeasureControlText(HWND control, const std::wstring& text, UINT format, int width, SIZE& size) {
    size = {0, 0};
    // Without a window GetDC would answer the screen's context.
    if (!control) return false;
    HDC dc = ::GetDC(control);
    if (!dc) return false;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ former = font ? ::SelectObject(dc, font) : nullptr;
    RECT rect{0, 0, width, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    if (former) ::SelectObject(dc, former);
    ::ReleaseDC(control, dc);
    size = {rect.right - rect.left, rect.bottom - rect.top};
    return true;
}

VEZASize MeasureBoxedCaption(HWND button, int boxSize) {
    SIZE text{};
    MeasureControlText(button, ControlText(button), DT_SINGLELINE, 0, text);
    return {text.cx + boxSize + 2, std::max<int32_t>(text.cy, boxSize)};
}
