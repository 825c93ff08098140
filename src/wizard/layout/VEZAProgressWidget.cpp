#include "wizard/layout/VEZAProgressWidget.h"

#include <commctrl.h>

#include <algorithm>

#include "wizard/layout/ProgressSteps.h"

namespace {

// Low style bits 3: a smooth bar (PBS_SMOOTH) and the bit above it.
constexpr DWORD kBarStyle = 0x3;
constexpr UINT kMarqueeMilliseconds = 100;

}  // namespace

VEZAProgressWidget::VEZAProgressWidget(HWND parent, UINT positionMessage, int32_t maximum,
                                       bool visible)
    : parent_(parent), positionMessage_(positionMessage), maximum_(maximum) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    const DWORD style = WS_CHILD | (visible ? WS_VISIBLE : 0) | kBarStyle;
    Create(PROGRESS_CLASSW, L"", style, RECT{}, parent, 0);
    SetMaximum(maximum);
}

void VEZAProgressWidget::SetMaximum(int32_t maximum) {
    maximum_.store(maximum);
    HWND bar = Handle();
    if (!bar) return;
    // A marquee needs the marquee style besides the message; a bar with a
    // range must not keep it, or it would not show its position.
    const LONG_PTR style = ::GetWindowLongPtrW(bar, GWL_STYLE);
    if (maximum > 0) {
        if (style & PBS_MARQUEE) {
            ::SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
            ::SetWindowLongPtrW(bar, GWL_STYLE, style & ~static_cast<LONG_PTR>(PBS_MARQUEE));
        }
        ::SendMessageW(bar, PBM_SETRANGE32, 0, maximum);
    } else {
        if (!(style & PBS_MARQUEE)) ::SetWindowLongPtrW(bar, GWL_STYLE, style | PBS_MARQUEE);
        ::SendMessageW(bar, PBM_SETMARQUEE, TRUE, kMarqueeMilliseconds);
    }
}

int32_t VEZAProgressWidget::MoveTo(int64_t requested) {
    const int32_t maximum = maximum_.load();
    const int32_t former = position_.load();
    if (maximum < 1) return former;
    const VEZAProgressStep step = NextProgressStep(former, requested, maximum);
    position_.store(step.position);
    if (step.post)
        ::PostMessageW(parent_, positionMessage_, static_cast<WPARAM>(step.position), 0);
    return step.position;
}

int32_t VEZAProgressWidget::SetPosition(int32_t position) { return MoveTo(position); }

int32_t VEZAProgressWidget::OffsetPosition(int32_t delta) {
    return MoveTo(static_cast<int64_t>(position_.load()) + delta);
}

bool VEZAProgressWidget::ApplyPendingPosition() {
    MSG msg;
    if (!::PeekMessageW(&msg, parent_, positionMessage_, positionMessage_, PM_REMOVE)) return false;
    // The parameter carries a position in 0..maximum; anything else is not ours to show.
    const WPARAM position = msg.wParam;
    const int32_t maximum = maximum_.load();
    if (Handle() && maximum >= 0 && position <= static_cast<WPARAM>(maximum))
        ::SendMessageW(Handle(), PBM_SETPOS, position, 0);
    return true;
}

VEZASize VEZAProgressWidget::Measure(const VEZASize& available, bool& growsHorizontally,
                                     bool& growsVertically) const {
    growsHorizontally = true;
    growsVertically = false;
    return {available.width, std::min<int32_t>(available.height, 16)};
}
