#pragma once
// Placing one child inside a rectangle by a horizontal and a vertical
// alignment: the rule of the box layout, shared by the current layer of the
// stack layout.
#include <cstdint>

#include "wizard/layout/VEZALayout.h"

// Centre, end and fill ask for the space around the child: a holder that
// measures such a child reports growth in that direction.
bool AlignmentAsksForSpace(int32_t alignment);

// The child's outer size under `available`; the flags are the child's own,
// plus those its alignments ask for.
VEZASize MeasureAligned(const VEZALayout& child, int32_t horizontal, int32_t vertical,
                        const VEZASize& available, bool& growsHorizontally, bool& growsVertically);

// Measures the child under the rectangle's size and gives it its place.
void ArrangeAligned(VEZALayout& child, int32_t horizontal, int32_t vertical, const VEZARect& rect);
