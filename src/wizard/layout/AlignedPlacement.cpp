#include "wizard/layout/AlignedPlacement.h"

namespace {

// Position and extent along one direction. Start keeps the natural extent
// unless the child asked to grow; other values outside the four alignments
// behave as start without stretching.
void PlaceAlong(int32_t alignment, bool grows, int32_t available, int32_t& position,
                int32_t& extent) {
    switch (alignment) {
    case kAlignStart:
        if (grows) extent = available;
        break;
    case kAlignCentre:
        position += (available - extent) / 2;
        break;
    case kAlignEnd:
        position += available - extent;
        break;
    case kAlignFill:
        extent = available;
        break;
    default:
        break;
    }
}

}  // namespace

bool AlignmentAsksForSpace(int32_t alignment) {
    return alignment == kAlignCentre || alignment == kAlignEnd || alignment == kAlignFill;
}

VEZASize MeasureAligned(const VEZALayout& child, int32_t horizontal, int32_t vertical,
                        const VEZASize& available, bool& growsHorizontally, bool& growsVertically) {
    const VEZASize size = child.MeasureOuter(available, growsHorizontally, growsVertically);
    growsHorizontally = growsHorizontally || AlignmentAsksForSpace(horizontal);
    growsVertically = growsVertically || AlignmentAsksForSpace(vertical);
    return size;
}

void ArrangeAligned(VEZALayout& child, int32_t horizontal, int32_t vertical, const VEZARect& rect) {
    bool growsHorizontally = false;
    bool growsVertically = false;
    const VEZASize outer =
        child.MeasureOuter({rect.width, rect.height}, growsHorizontally, growsVertically);
    VEZARect place{rect.x, rect.y, outer.width, outer.height};
    PlaceAlong(horizontal, growsHorizontally, rect.width, place.x, place.width);
    PlaceAlong(vertical, growsVertically, rect.height, place.y, place.height);
    child.SetGeometry(place);
}
