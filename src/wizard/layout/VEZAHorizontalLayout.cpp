#include "wizard/layout/VEZAHorizontalLayout.h"

#include <utility>

void VEZAHorizontalLayout::Add(std::unique_ptr<VEZALayout> child, int32_t alignment) {
    if (child) items_.push_back({std::move(child), alignment});
}

VEZASize VEZAHorizontalLayout::Measure(const VEZASize& available, bool& growsHorizontally,
                                     bool& growsVertically) const {
    return MeasureLine(items_, spacing, LayoutAxis::Horizontal, available, growsHorizontally,
                       growsVertically);
}

void VEZAHorizontalLayout::Arrange(const VEZARect& rect) {
    ArrangeLine(items_, spacing, LayoutAxis::Horizontal, rect);
}

void VEZAHorizontalLayout::Show(int showCommand) { ShowLine(items_, showCommand); }
