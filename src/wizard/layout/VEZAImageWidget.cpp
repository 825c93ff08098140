#include "wizard/layout/VEZAImageWidget.h"

#include "framework/UniqueHandle.h"

// The bitmaps GetIconInfo makes belong to its caller.
using UniqueBitmap = fw::UniqueGdiObject<HBITMAP>;

VEZAImageWidget::VEZAImageWidget(HWND parent, HICON icon, bool visible) {
    Create(L"STATIC", L"", WS_CHILD | (visible ? WS_VISIBLE : 0) | SS_ICON, RECT{0, 0, 48, 48},
           parent, kStaticId);
    if (Handle()) ::SendMessageW(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

VEZASize VEZAImageWidget::Measure(const VEZASize&, bool& growsHorizontally,
                                  bool& growsVertically) const {
    growsHorizontally = false;
    growsVertically = false;
    if (!Handle()) return {};
    HICON icon = reinterpret_cast<HICON>(::SendMessageW(Handle(), STM_GETICON, 0, 0));
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return {};
    UniqueBitmap colour(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (colour && ::GetObjectW(colour.get(), sizeof bitmap, &bitmap))
        return {bitmap.bmWidth, bitmap.bmHeight};
    // A monochrome icon keeps its image and its mask one above the other.
    if (mask && ::GetObjectW(mask.get(), sizeof bitmap, &bitmap))
        return {bitmap.bmWidth, bitmap.bmHeight / 2};
    return {};
}
