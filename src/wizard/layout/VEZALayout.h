#pragma once
// The common interface of the layout tree of a wizard page: containers and
// widgets. Layout runs in two passes and keeps no state between calls: a
// container asks each child for its natural size under the space it can
// offer (Measure), then hands each child its rectangle (Arrange).
//
// Margins lie outside an object: the container holding it subtracts them from
// the space it offers and adds them to the size it gets back.
#include <cstdint>

#include "wizard/layout/LayoutGeometry.h"

class VEZALayout {
public:
    VEZALayout() = default;
    virtual ~VEZALayout() = default;
    VEZALayout(const VEZALayout&) = delete;
    VEZALayout& operator=(const VEZALayout&) = delete;

    // The natural size of the content (margins excluded) when it may use at
    // most `available`; the flags say whether the object would like more
    // space in that direction.
    virtual VEZASize Measure(const VEZASize& available, bool& growsHorizontally,
                             bool& growsVertically) const = 0;
    // Places the content in `rect` (margins already removed by the caller).
    virtual void Arrange(const VEZARect& rect) = 0;
    // Shows or hides the object's windows (kLayoutHide, kLayoutShow or any
    // other show command of the window system).
    virtual void Show(int showCommand) = 0;

    void SetMargins(int32_t left, int32_t right, int32_t top, int32_t bottom);
    int32_t LeftMargin() const { return left_; }
    int32_t RightMargin() const { return right_; }
    int32_t TopMargin() const { return top_; }
    int32_t BottomMargin() const { return bottom_; }

    // Arranges the object in `outer` less its margins; the root of a tree is
    // placed this way, and so is every child by its container.
    void SetGeometry(const VEZARect& outer);

    // Measures the object as a container's child: offered `available` less
    // the margins, answering its size plus the margins.
    VEZASize MeasureOuter(const VEZASize& available, bool& growsHorizontally,
                          bool& growsVertically) const;

private:
    int32_t left_ = 0;
    int32_t right_ = 0;
    int32_t top_ = 0;
    int32_t bottom_ = 0;
};
