#include "wizard/layout/ProgressSteps.h"

#include <algorithm>

VEZAProgressStep NextProgressStep(int32_t former, int64_t requested, int32_t maximum) {
    const int32_t position = static_cast<int32_t>(std::clamp<int64_t>(requested, 0, maximum));
    // Below a range of 100 a hundredth is 0; a repeated position is still
    // not worth a message.
    const int64_t threshold = std::max<int32_t>(maximum / 100, 1);
    const int64_t change = static_cast<int64_t>(position) - former;
    const bool post = (change >= threshold || -change >= threshold) || position == 0 ||
                      (position == maximum && position != former);
    return {position, post};
}
