#pragma once
// The arithmetic of the horizontal and the vertical layout, written once for
// a main direction (along the line) and a cross direction.
#include <cstdint>
#include <memory>
#include <vector>

#include "wizard/layout/VEZALayout.h"

// One child of a line and its alignment in the cross direction.
struct VEZALayoutItem {
    std::unique_ptr<VEZALayout> child;
    int32_t alignment = kAlignStart;
};

enum class LayoutAxis { Horizontal, Vertical };

// Sum of the children's outer extents plus the spacing between them along
// the line, the greatest outer extent across it. The main-direction flag
// collects the children's flags; the cross-direction flag stays false.
VEZASize MeasureLine(const std::vector<VEZALayoutItem>& items, int32_t spacing, LayoutAxis axis,
                     const VEZASize& available, bool& growsHorizontally, bool& growsVertically);

// Places the children one after the other. The spare extent along the line
// (negative when the content does not fit) is shared out equally among the
// children that asked to grow along it; across the line each child is placed
// by its alignment. In a horizontal line a growing child takes its share only
// when aligned to fill (the share of the others stays empty); in a vertical
// line every growing child takes it.
void ArrangeLine(const std::vector<VEZALayoutItem>& items, int32_t spacing, LayoutAxis axis,
                 const VEZARect& rect);

// Show and hide every child in order.
void ShowLine(const std::vector<VEZALayoutItem>& items, int showCommand);
