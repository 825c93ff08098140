#pragma once
// Sizes, rectangles, alignments and show commands of the layout tree. Plain
// integers only, so that the layout arithmetic builds without the Windows
// headers and can be checked natively.
#include <cstdint>

struct VEZASize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const VEZASize&, const VEZASize&) = default;
};

// Position and extent (not right and bottom), in pixels, relative to the
// client area of the page window.
struct VEZARect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const VEZARect&, const VEZARect&) = default;
};

// How a container places a child along one direction. Values outside these
// four are accepted and place the child as kAlignStart without stretching.
enum : int32_t {
    kAlignStart = 0,   // at the left (top) edge; stretched when the child asks to grow
    kAlignCentre = 1,
    kAlignEnd = 2,
    kAlignFill = 3,
};

// The window system's show commands used by the tree (hide and show).
enum : int {
    kLayoutHide = 0,
    kLayoutShow = 5,
};
