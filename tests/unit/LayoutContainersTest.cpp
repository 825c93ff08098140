// The containers of the layout tree with fake leaves of fixed natural size.
// Built natively (sanitizers) and under Wine from this one source.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "wizard/layout/VEZABoxLayout.h"
#include "wizard/layout/VEZAHorizontalLayout.h"
#include "wizard/layout/VEZAStackLayout.h"
#include "wizard/layout/VEZAVerticalLayout.h"

void PrintTo(const VEZARect& r, std::ostream* os) {
    *os << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}
void PrintTo(const VEZASize& s, std::ostream* os) { *os << s.width << " x " << s.height; }

namespace {

// A leaf with a fixed natural size and growth flags; it records the
// rectangle and the show commands it gets, and counts its destruction.
class FakeLeaf : public VEZALayout {
public:
    FakeLeaf(VEZASize natural, bool growsHorizontally, bool growsVertically,
             int* destroyed = nullptr)
        : natural_(natural), growsH_(growsHorizontally), growsV_(growsVertically),
          destroyed_(destroyed) {}
    ~FakeLeaf() override {
        if (destroyed_) ++*destroyed_;
    }

    VEZASize Measure(const VEZASize&, bool& growsHorizontally,
                     bool& growsVertically) const override {
        growsHorizontally = growsH_;
        growsVertically = growsV_;
        return natural_;
    }
    void Arrange(const VEZARect& rect) override { placed = rect; }
    void Show(int showCommand) override { shows.push_back(showCommand); }

    std::optional<VEZARect> placed;
    std::vector<int> shows;

private:
    VEZASize natural_;
    bool growsH_;
    bool growsV_;
    int* destroyed_;
};

std::unique_ptr<FakeLeaf> Leaf(int32_t w, int32_t h, bool gh = false, bool gv = false,
                               int* destroyed = nullptr) {
    return std::make_unique<FakeLeaf>(VEZASize{w, h}, gh, gv, destroyed);
}

// ---- horizontal and vertical lines ------------------------------------------

struct ItemShape {
    VEZASize natural;
    bool growsH = false;
    bool growsV = false;
    int32_t alignment = kAlignStart;
    int32_t margins[4] = {0, 0, 0, 0};  // left, right, top, bottom
    // When set, the leaf sits in a box layout with these alignments.
    std::optional<std::pair<int32_t, int32_t>> box;
};

ItemShape Item(VEZASize natural, bool growsH, bool growsV, int32_t alignment,
              std::array<int32_t, 4> margins = {},
              std::optional<std::pair<int32_t, int32_t>> box = std::nullopt) {
    ItemShape shape;
    shape.natural = natural;
    shape.growsH = growsH;
    shape.growsV = growsV;
    shape.alignment = alignment;
    std::copy(margins.begin(), margins.end(), shape.margins);
    shape.box = box;
    return shape;
}

struct LineCase {
    const char* name;
    LayoutAxis axis;
    int32_t spacing;
    VEZARect rect;
    std::vector<ItemShape> items;
    std::vector<VEZARect> expected;  // where each leaf ends up
    VEZASize measured;               // Measure under the rectangle's size
    bool measuredGrowsH;
    bool measuredGrowsV;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }


class LineLayout : public testing::TestWithParam<LineCase> {};

template <typename Line>
std::unique_ptr<VEZALayout> BuildLine(const LineCase& c, std::vector<FakeLeaf*>& leaves) {
    auto line = std::make_unique<Line>();
    line->spacing = c.spacing;
    for (const ItemShape& shape : c.items) {
        auto leaf = Leaf(shape.natural.width, shape.natural.height, shape.growsH, shape.growsV);
        leaf->SetMargins(shape.margins[0], shape.margins[1], shape.margins[2], shape.margins[3]);
        leaves.push_back(leaf.get());
        if (shape.box)
            line->Add(std::make_unique<VEZABoxLayout>(std::move(leaf), shape.box->first,
                                                      shape.box->second),
                      shape.alignment);
        else
            line->Add(std::move(leaf), shape.alignment);
    }
    return line;
}

TEST_P(LineLayout, PlacesChildren) {
    const LineCase& c = GetParam();
    std::vector<FakeLeaf*> leaves;
    std::unique_ptr<VEZALayout> line = c.axis == LayoutAxis::Horizontal
                                           ? BuildLine<VEZAHorizontalLayout>(c, leaves)
                                           : BuildLine<VEZAVerticalLayout>(c, leaves);

    bool gh = !c.measuredGrowsH;
    bool gv = !c.measuredGrowsV;
    EXPECT_EQ(line->Measure({c.rect.width, c.rect.height}, gh, gv), c.measured);
    EXPECT_EQ(gh, c.measuredGrowsH);
    EXPECT_EQ(gv, c.measuredGrowsV);

    line->SetGeometry(c.rect);
    ASSERT_EQ(leaves.size(), c.expected.size());
    for (size_t i = 0; i < leaves.size(); ++i) {
        ASSERT_TRUE(leaves[i]->placed.has_value()) << "leaf " << i;
        EXPECT_EQ(*leaves[i]->placed, c.expected[i]) << "leaf " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineLayout,
    testing::Values(
        // A text above a box aligned to the end: the box takes the spare
        // height and its child sits at the bottom of the page.
        LineCase{"EndAlignedBoxPutsItsChildAtTheBottom", LayoutAxis::Vertical, 5, {0, 0, 400, 300},
                 {Item({100, 20}, true, false, kAlignFill),
                  Item({50, 10}, false, false, kAlignFill, {2, 3, 4, 6}, {{kAlignStart, kAlignEnd}})},
                 {{0, 0, 400, 20}, {2, 284, 50, 10}},
                 {100, 45}, false, true},
        // Two children grow horizontally, only the first is aligned to fill:
        // it takes half the spare width, the other keeps its natural width.
        LineCase{"OnlyTheFillAlignedGrowerTakesItsShare", LayoutAxis::Horizontal, 5, {10, 20, 400, 30},
                 {Item({60, 30}, true, false, kAlignFill),
                  Item({40, 30}, true, false, kAlignStart),
                  Item({50, 30}, false, false, kAlignStart)},
                 {{10, 20, 180, 30}, {195, 20, 40, 30}, {240, 20, 50, 30}},
                 {160, 30}, true, false},
        // The content is 45 pixels too wide: the fill-aligned grower gives
        // up half of it (truncated), the other grower keeps its width.
        LineCase{"NegativeSpareShrinksTheFillAlignedGrower", LayoutAxis::Horizontal, 5, {0, 0, 100, 30},
                 {Item({80, 30}, true, false, kAlignFill), Item({60, 30}, true, false, kAlignStart)},
                 {{0, 0, 58, 30}, {63, 0, 60, 30}},
                 {145, 30}, true, false},
        // In a column every vertical grower takes its share, whatever its
        // alignment: here both shrink by half of 45.
        LineCase{"NegativeSpareShrinksEveryVerticalGrower", LayoutAxis::Vertical, 5, {0, 0, 200, 100},
                 {Item({50, 80}, false, true, kAlignStart), Item({50, 60}, false, true, kAlignCentre)},
                 {{0, 0, 50, 58}, {75, 63, 50, 38}},
                 {50, 145}, false, true},
        // Across a row: centre, end, fill, start with vertical growth (the
        // greatest height), and start with the natural height.
        LineCase{"RowPlacesAcrossByAlignment", LayoutAxis::Horizontal, 5, {0, 0, 200, 40},
                 {Item({20, 10}, false, false, kAlignCentre),
                  Item({20, 10}, false, false, kAlignEnd),
                  Item({20, 10}, false, false, kAlignFill),
                  Item({20, 10}, false, true, kAlignStart),
                  Item({20, 24}, false, false, kAlignStart)},
                 {{0, 15, 20, 10}, {25, 30, 20, 10}, {50, 0, 20, 40}, {75, 0, 20, 24}, {100, 0, 20, 24}},
                 {120, 24}, false, false},
        // Across a column, with margins: the leaf gets its rectangle less its
        // margins, and the growing one takes the greatest outer width.
        LineCase{"ColumnPlacesAcrossWithMargins", LayoutAxis::Vertical, 0, {0, 0, 100, 100},
                 {Item({10, 10}, false, false, kAlignEnd, {1, 2, 3, 4}),
                  Item({8, 10}, true, false, kAlignStart)},
                 {{88, 3, 10, 10}, {0, 17, 13, 10}},
                 {13, 27}, false, false}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

// ---- box layout ----------------------------------------------------------------

struct BoxCase {
    const char* name;
    int32_t horizontal;
    int32_t vertical;
    bool childGrowsH;
    VEZARect expected;  // the child's rectangle in (10, 10, 100, 60)
    bool growsH;
    bool growsV;
};
void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }


class BoxLayout : public testing::TestWithParam<BoxCase> {};

TEST_P(BoxLayout, PlacesItsChildByAlignment) {
    const BoxCase& c = GetParam();
    auto leaf = Leaf(40, 20, c.childGrowsH);
    FakeLeaf* child = leaf.get();
    VEZABoxLayout box(std::move(leaf), c.horizontal, c.vertical);

    bool gh = false;
    bool gv = false;
    EXPECT_EQ(box.Measure({100, 60}, gh, gv), (VEZASize{40, 20}));
    EXPECT_EQ(gh, c.growsH);
    EXPECT_EQ(gv, c.growsV);

    box.SetGeometry({10, 10, 100, 60});
    ASSERT_TRUE(child->placed.has_value());
    EXPECT_EQ(*child->placed, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoxLayout,
    testing::Values(BoxCase{"Start", kAlignStart, kAlignStart, false, {10, 10, 40, 20}, false, false},
                    BoxCase{"StartStretchesAGrower", kAlignStart, kAlignStart, true, {10, 10, 100, 20}, true, false},
                    BoxCase{"Centre", kAlignCentre, kAlignCentre, false, {40, 30, 40, 20}, true, true},
                    BoxCase{"End", kAlignEnd, kAlignEnd, false, {70, 50, 40, 20}, true, true},
                    BoxCase{"Fill", kAlignFill, kAlignFill, false, {10, 10, 100, 60}, true, true},
                    BoxCase{"UnknownActsAsStart", 7, -1, true, {10, 10, 40, 20}, true, false}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

// ---- stack layout -----------------------------------------------------------

enum class Selection { Unknown, Null, First };

struct StackCase {
    const char* name;
    Selection selection;
    bool answer;
    int shown;  // index of the layer shown and placed after Arrange, -1 for none
    VEZARect placed;
    VEZASize measured;
    bool grows;  // both flags of Measure
};
void PrintTo(const StackCase& c, std::ostream* os) { *os << c.name; }


class StackLayout : public testing::TestWithParam<StackCase> {};

TEST_P(StackLayout, SelectsLayers) {
    const StackCase& c = GetParam();
    VEZAStackLayout stack;
    auto first = Leaf(40, 20);
    auto second = Leaf(40, 20);
    FakeLeaf* layers[] = {first.get(), second.get()};
    EXPECT_EQ(stack.AddLayer(std::move(first), kAlignFill, kAlignFill), layers[0]);
    EXPECT_EQ(stack.AddLayer(std::move(second), kAlignEnd, kAlignCentre), layers[1]);
    // Adding nothing changes nothing and answers the current key.
    EXPECT_EQ(stack.AddLayer(nullptr, kAlignStart, kAlignStart), layers[1]);

    FakeLeaf stranger({1, 1}, false, false);
    const VEZALayout* key = c.selection == Selection::Unknown ? &stranger
                            : c.selection == Selection::Null  ? nullptr
                                                              : layers[0];
    EXPECT_EQ(stack.SelectLayer(key), c.answer);

    bool gh = !c.grows;
    bool gv = !c.grows;
    EXPECT_EQ(stack.Measure({100, 60}, gh, gv), c.measured);
    EXPECT_EQ(gh, c.grows);
    EXPECT_EQ(gv, c.grows);

    stack.SetGeometry({0, 0, 100, 60});
    for (int i = 0; i < 2; ++i) {
        ASSERT_FALSE(layers[i]->shows.empty()) << "layer " << i;
        EXPECT_EQ(layers[i]->shows.back(), i == c.shown ? kLayoutShow : kLayoutHide) << "layer " << i;
        EXPECT_EQ(layers[i]->placed.has_value(), i == c.shown) << "layer " << i;
    }
    if (c.shown >= 0) {
        EXPECT_EQ(*layers[c.shown]->placed, c.placed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StackLayout,
    testing::Values(
        // A key that was never added: false, and the current layer stays.
        StackCase{"UnknownKeyKeepsTheCurrentLayer", Selection::Unknown, false, 1, {60, 20, 40, 20}, {40, 20}, true},
        // Null: no current layer, every layer hidden at the next Arrange.
        StackCase{"NullKeyHidesEveryLayer", Selection::Null, true, -1, {}, {0, 0}, false},
        StackCase{"LayerKeyMakesItCurrent", Selection::First, true, 0, {0, 0, 100, 60}, {40, 20}, true}),
    [](const testing::TestParamInfo<StackCase>& info) { return std::string(info.param.name); });

// ---- ownership ------------------------------------------------------------------

TEST(LayoutOwnership, ContainersDeleteTheirChildrenAndSetChildHandsTheEarlierOneBack) {
    int destroyed = 0;
    {
        auto row = std::make_unique<VEZAHorizontalLayout>();
        row->Add(Leaf(1, 1, false, false, &destroyed), kAlignStart);
        row->Add(Leaf(1, 1, false, false, &destroyed), kAlignStart);
        auto stack = std::make_unique<VEZAStackLayout>();
        stack->AddLayer(Leaf(1, 1, false, false, &destroyed), kAlignFill, kAlignFill);
        VEZALayout* again = stack->AddLayer(Leaf(1, 1, false, false, &destroyed), kAlignFill, kAlignFill);
        // The same layer added a second time is owned once.
        stack->AddLayer(std::unique_ptr<VEZALayout>(again), kAlignStart, kAlignStart);

        VEZAVerticalLayout column;
        column.Add(std::move(row), kAlignFill);
        column.Add(std::move(stack), kAlignFill);
        auto box = std::make_unique<VEZABoxLayout>(Leaf(1, 1, false, false, &destroyed));
        std::unique_ptr<VEZALayout> earlier = box->SetChild(Leaf(1, 1, false, false, &destroyed), kAlignStart, kAlignStart);
        EXPECT_EQ(destroyed, 0);
        ASSERT_NE(earlier, nullptr);
        column.Add(std::move(box), kAlignFill);
        earlier.reset();
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 6);
}

}  // namespace
