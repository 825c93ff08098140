#pragma once
// Which progress positions are worth a message to the user-interface thread:
// a worker may report every step, but only changes of at least a hundredth of
// the range (at least one), the position 0 and reaching the maximum are
// posted, so the queue cannot be flooded.
#include <cstdint>

struct VEZAProgressStep {
    int32_t position;  // the new position, within 0..maximum
    bool post;         // whether the new position is to be posted
};

// `former` is the current position, `requested` the wished one (it may lie
// outside the range); `maximum` is at least 1.
VEZAProgressStep NextProgressStep(int32_t former, int64_t requested, int32_t maximum);
