#include "wizard/layout/VEZAVerticalLayout.h"

#include <utility>

void VEZAVerticalLayout::Add(std::unique_ptr<VEZALayout> child, int32_t alignment) {
    if (child) items_.push_back({std::move(child), alignment});
}

VEZASize VEZAVerticalLayout::Measure(const VEZASize& available, bool& growsHorizontally,
                                     bool& growsVertically) const {
    return MeasureLine(items_, spacing, LayoutAxis::Vertical, available, growsHorizontally,
                       growsVertically);
}

void VEZAVerticalLayout::Arrange(const VEZARect& rect) {
    ArrangeLine(items_, spacing, LayoutAxis::Vertical, rect);
}

void VEZAVerticalLayout::Show(int showCommand) { ShowLine(items_, showCommand); }
