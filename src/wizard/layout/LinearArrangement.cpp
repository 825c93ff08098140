#include "wizard/layout/LinearArrangement.h"

#include <algorithm>

namespace {

// Translates between width/height and main/cross extents of one axis.
struct Axis {
    bool horizontal;

    int32_t Main(const VEZASize& s) const { return horizontal ? s.width : s.height; }
    int32_t Cross(const VEZASize& s) const { return horizontal ? s.height : s.width; }
    VEZASize Size(int32_t main, int32_t cross) const {
        return horizontal ? VEZASize{main, cross} : VEZASize{cross, main};
    }
    VEZARect Rect(int32_t mainPos, int32_t crossPos, int32_t main, int32_t cross) const {
        return horizontal ? VEZARect{mainPos, crossPos, main, cross}
                          : VEZARect{crossPos, mainPos, cross, main};
    }
};

struct Measured {
    int32_t main = 0;
    int32_t cross = 0;
    bool growsMain = false;
    bool growsCross = false;
};

// Measures every child with the extent left along the line after the
// children (and spacings) before it. `used` receives the outer extents plus
// the spacings between the children.
std::vector<Measured> MeasureItems(const std::vector<VEZALayoutItem>& items, int32_t spacing,
                                   const Axis& axis, const VEZASize& available, int32_t& used) {
    std::vector<Measured> measured;
    measured.reserve(items.size());
    used = 0;
    const int32_t mainAvailable = axis.Main(available);
    const int32_t crossAvailable = axis.Cross(available);
    for (size_t i = 0; i < items.size(); ++i) {
        bool growsHorizontally = false;
        bool growsVertically = false;
        const VEZASize outer = items[i].child->MeasureOuter(
            axis.Size(mainAvailable - used, crossAvailable), growsHorizontally, growsVertically);
        Measured m;
        m.main = axis.Main(outer);
        m.cross = axis.Cross(outer);
        m.growsMain = axis.horizontal ? growsHorizontally : growsVertically;
        m.growsCross = axis.horizontal ? growsVertically : growsHorizontally;
        measured.push_back(m);
        used += m.main;
        if (i + 1 < items.size()) used += spacing;
    }
    return measured;
}

}  // namespace

VEZASize MeasureLine(const std::vector<VEZALayoutItem>& items, int32_t spacing, LayoutAxis axisKind,
                     const VEZASize& available, bool& growsHorizontally, bool& growsVertically) {
    const Axis axis{axisKind == LayoutAxis::Horizontal};
    int32_t used = 0;
    const std::vector<Measured> measured = MeasureItems(items, spacing, axis, available, used);
    int32_t greatestCross = 0;
    bool growsMain = false;
    for (const Measured& m : measured) {
        greatestCross = std::max(greatestCross, m.cross);
        growsMain = growsMain || m.growsMain;
    }
    growsHorizontally = axis.horizontal && growsMain;
    growsVertically = !axis.horizontal && growsMain;
    return axis.Size(used, greatestCross);
}

void ArrangeLine(const std::vector<VEZALayoutItem>& items, int32_t spacing, LayoutAxis axisKind,
                 const VEZARect& rect) {
    const Axis axis{axisKind == LayoutAxis::Horizontal};
    const VEZASize size{rect.width, rect.height};
    int32_t used = 0;
    std::vector<Measured> measured = MeasureItems(items, spacing, axis, size, used);

    int32_t growing = 0;
    int32_t greatestCross = 0;
    for (const Measured& m : measured) {
        if (m.growsMain) ++growing;
        greatestCross = std::max(greatestCross, m.cross);
    }

    const int32_t spare = axis.Main(size) - used;
    for (size_t i = 0; i < items.size(); ++i) {
        Measured& m = measured[i];
        const bool takesShare = !axis.horizontal || items[i].alignment == kAlignFill;
        if (m.growsMain && growing > 0 && takesShare) m.main += spare / growing;
        if (m.growsCross) m.cross = greatestCross;
    }

    const int32_t crossStart = axis.horizontal ? rect.y : rect.x;
    const int32_t crossExtent = axis.Cross(size);
    int32_t running = axis.horizontal ? rect.x : rect.y;
    for (size_t i = 0; i < items.size(); ++i) {
        const Measured& m = measured[i];
        int32_t crossPos = crossStart;
        int32_t cross = m.cross;
        bool place = true;
        switch (items[i].alignment) {
        case kAlignStart:
            break;
        case kAlignCentre:
            crossPos += (crossExtent - cross) / 2;
            break;
        case kAlignEnd:
            crossPos += crossExtent - cross;
            break;
        case kAlignFill:
            cross = crossExtent;
            break;
        default:
            place = false;  // an unknown alignment leaves the child where it was
            break;
        }
        if (place) items[i].child->SetGeometry(axis.Rect(running, crossPos, m.main, cross));
        running += m.main + spacing;
    }
}

void ShowLine(const std::vector<VEZALayoutItem>& items, int showCommand) {
    for (const VEZALayoutItem& item : items) item.child->Show(showCommand);
}
