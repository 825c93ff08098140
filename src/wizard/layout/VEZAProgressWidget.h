#pragma once
// A progress bar that a worker thread may move without touching its window:
// SetPosition and OffsetPosition only store the position and post it to the
// bar's parent as a message of the widget's own id; the user-interface thread
// takes such messages out of its queue with ApplyPendingPosition.
// A maximum of 0 (or less) makes an endless (marquee) bar without positions.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "wizard/layout/VEZAWidget.h"

class VEZAProgressWidget : public VEZAWidget {
public:
    VEZAProgressWidget(HWND parent, UINT positionMessage, int32_t maximum, bool visible);

    // Stores the maximum and sets the range, or makes the bar endless.
    void SetMaximum(int32_t maximum);
    int32_t Maximum() const { return maximum_.load(); }

    // Any thread. The position is clamped to 0..maximum and stored; it is
    // posted when worth it (see ProgressSteps.h). Both answer the new
    // position, and do nothing on an endless bar.
    int32_t SetPosition(int32_t position);
    int32_t OffsetPosition(int32_t delta);
    int32_t Position() const { return position_.load(); }

    // User-interface thread: takes one waiting position message for this
    // bar's parent out of the queue, if any, and sets the bar to its position
    // when that lies in 0..maximum. True when a message was taken.
    bool ApplyPendingPosition();

    // The full available width, at most 16 pixels high; grows horizontally.
    VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                     bool& growsVertically) const override;

private:
    int32_t MoveTo(int64_t requested);

    HWND parent_;
    UINT positionMessage_;
    std::atomic<int32_t> maximum_;
    std::atomic<int32_t> position_{0};
};
