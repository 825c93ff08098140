#include "wizard/layout/VEZALayout.h"

void VEZALayout::SetMargins(int32_t left, int32_t right, int32_t top, int32_t bottom) {
    left_ = left;
    right_ = right;
    top_ = top;
    bottom_ = bottom;
}

void VEZALayout::SetGeometry(const VEZARect& outer) {
    Arrange({outer.x + left_, outer.y + top_, outer.width - left_ - right_,
             outer.height - top_ - bottom_});
}

VEZASize VEZALayout::MeasureOuter(const VEZASize& available, bool& growsHorizontally,
                                  bool& growsVertically) const {
    growsHorizontally = false;
    growsVertically = false;
    const VEZASize inner = Measure(
        {available.width - left_ - right_, available.height - top_ - bottom_},
        growsHorizontally, growsVertically);
    return {inner.width + left_ + right_, inner.height + top_ + bottom_};
}
