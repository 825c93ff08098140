#include "wizard/layout/VEZABoxLayout.h"

#include <utility>

#include "wizard/layout/AlignedPlacement.h"

VEZABoxLayout::VEZABoxLayout(std::unique_ptr<VEZALayout> child, int32_t horizontal,
                             int32_t vertical)
    : child_(std::move(child)), horizontal_(horizontal), vertical_(vertical) {}

std::unique_ptr<VEZALayout> VEZABoxLayout::SetChild(std::unique_ptr<VEZALayout> child,
                                                    int32_t horizontal, int32_t vertical) {
    horizontal_ = horizontal;
    vertical_ = vertical;
    return std::exchange(child_, std::move(child));
}

VEZASize VEZABoxLayout::Measure(const VEZASize& available, bool& growsHorizontally,
                                bool& growsVertically) const {
    if (!child_) {
        growsHorizontally = AlignmentAsksForSpace(horizontal_);
        growsVertically = AlignmentAsksForSpace(vertical_);
        return {};
    }
    return MeasureAligned(*child_, horizontal_, vertical_, available, growsHorizontally,
                          growsVertically);
}

void VEZABoxLayout::Arrange(const VEZARect& rect) {
    if (child_) ArrangeAligned(*child_, horizontal_, vertical_, rect);
}

void VEZABoxLayout::Show(int showCommand) {
    if (child_) child_->Show(showCommand);
}
