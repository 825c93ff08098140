// The widgets of the layout tree with real controls under a hidden parent
// window of this thread, whose queue receives the progress messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "wizard/layout/ControlHelpers.h"
#include "wizard/layout/VEZACheckboxWidget.h"
#include "wizard/layout/VEZAImageWidget.h"
#include "wizard/layout/VEZAProgressWidget.h"
#include "wizard/layout/VEZARadioButtonWidget.h"
#include "wizard/layout/VEZASimpleTextWidget.h"
#include "wizard/layout/VEZAVerticalLayout.h"

namespace {

constexpr UINT kPositionMessage = 1026;
const wchar_t kLongText[] =
    L"Setup copies the program files, registers the services and prepares the data folder "
    L"of the product on this computer.";

// A hidden top-level window with a caption and a frame, so that its client
// coordinates differ from the screen's.
class WidgetTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvaneLayoutTestParent";
        ::RegisterClassW(&wc);  // fails harmlessly when registered by an earlier test
        parent_ = ::CreateWindowExW(0, wc.lpszClassName, L"layout", WS_OVERLAPPEDWINDOW, 100, 100,
                                    640, 480, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(parent_, nullptr);
        font_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }
    void TearDown() override {
        TakePosted();
        if (parent_) ::DestroyWindow(parent_);
    }

    // The positions posted to the parent so far, taken out of the queue.
    std::vector<WPARAM> TakePosted() {
        std::vector<WPARAM> posted;
        MSG msg;
        while (::PeekMessageW(&msg, parent_, kPositionMessage, kPositionMessage, PM_REMOVE))
            posted.push_back(msg.wParam);
        return posted;
    }

    // A window's rectangle in its parent's client coordinates.
    RECT PlaceOf(HWND window) const {
        RECT r{};
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    HWND parent_ = nullptr;
    HFONT font_ = nullptr;
};

// ---- progress positions --------------------------------------------------------

enum class Move { Set, Offset };

struct PostingCase {
    const char* name;
    int32_t maximum;
    int32_t start;  // reached (and its message taken) before the move
    Move move;
    int32_t value;
    int32_t position;  // answered and stored
    std::optional<WPARAM> posted;
};
void PrintTo(const PostingCase& c, std::ostream* os) { *os << c.name; }


class ProgressPosting : public WidgetTest, public testing::WithParamInterface<PostingCase> {};

TEST_P(ProgressPosting, PostsOnlyChangesWorthAMessage) {
    const PostingCase& c = GetParam();
    VEZAProgressWidget bar(parent_, kPositionMessage, c.maximum, true);
    ASSERT_NE(bar.Handle(), nullptr);
    bar.SetPosition(c.start);
    TakePosted();

    const int32_t answered = c.move == Move::Set ? bar.SetPosition(c.value) : bar.OffsetPosition(c.value);
    EXPECT_EQ(answered, c.position);
    EXPECT_EQ(bar.Position(), c.position);
    const std::vector<WPARAM> posted = TakePosted();
    if (c.posted)
        EXPECT_EQ(posted, std::vector<WPARAM>{*c.posted});
    else
        EXPECT_TRUE(posted.empty()) << "posted " << posted.size() << " message(s)";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressPosting,
    testing::Values(
        PostingCase{"StepOfFiveIsNotPosted", 1000, 0, Move::Set, 5, 5, std::nullopt},
        PostingCase{"OffsetOfFiveIsNotPosted", 1000, 100, Move::Offset, 5, 105, std::nullopt},
        PostingCase{"StepOfTenIsPosted", 1000, 0, Move::Set, 10, 10, 10},
        PostingCase{"BackStepOfTenIsPosted", 1000, 500, Move::Offset, -10, 490, 490},
        PostingCase{"ZeroIsPosted", 1000, 5, Move::Set, 0, 0, 0},
        PostingCase{"ReachingTheMaximumIsPosted", 1000, 995, Move::Set, 1000, 1000, 1000},
        PostingCase{"BeyondTheMaximumIsClampedAndPosted", 1000, 995, Move::Offset, 50, 1000, 1000},
        PostingCase{"StayingAtTheMaximumIsNotPosted", 1000, 1000, Move::Offset, 3, 1000, std::nullopt},
        PostingCase{"BelowZeroIsClampedAndPosted", 1000, 500, Move::Offset, -600, 0, 0},
        PostingCase{"HugeOffsetIsClamped", 1000, 500, Move::Offset, INT_MAX, 1000, 1000},
        // Under a range of 100 every change is posted, a repeated position is not.
        PostingCase{"SmallRangeStepIsPosted", 50, 7, Move::Set, 8, 8, 8},
        PostingCase{"SmallRangeRepeatIsNotPosted", 50, 7, Move::Set, 7, 7, std::nullopt}),
    [](const testing::TestParamInfo<PostingCase>& info) { return std::string(info.param.name); });

TEST_F(WidgetTest, EndlessBarIgnoresPositionsUntilItGetsARange) {
    VEZAProgressWidget bar(parent_, kPositionMessage, 0, true);
    ASSERT_NE(bar.Handle(), nullptr);
    EXPECT_TRUE(::GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & PBS_MARQUEE);
    EXPECT_EQ(bar.SetPosition(500), 0);
    EXPECT_EQ(bar.OffsetPosition(20), 0);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_TRUE(TakePosted().empty());

    bar.SetMaximum(1000);
    EXPECT_FALSE(::GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & PBS_MARQUEE);
    EXPECT_EQ(::SendMessageW(bar.Handle(), PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_EQ(bar.SetPosition(500), 500);
    EXPECT_EQ(TakePosted(), std::vector<WPARAM>{500});
}

TEST_F(WidgetTest, ApplyPendingPositionSetsTheBarOneMessageAtATime) {
    VEZAProgressWidget bar(parent_, kPositionMessage, 1000, true);
    ASSERT_NE(bar.Handle(), nullptr);
    // A worker reports; its messages wait in this thread's queue.
    std::thread worker([&bar] {
        bar.SetPosition(300);
        bar.SetPosition(600);
    });
    worker.join();
    ::PostMessageW(parent_, kPositionMessage, 2000, 0);  // outside the range

    const auto barPosition = [&] { return ::SendMessageW(bar.Handle(), PBM_GETPOS, 0, 0); };
    EXPECT_EQ(barPosition(), 0);
    EXPECT_TRUE(bar.ApplyPendingPosition());
    EXPECT_EQ(barPosition(), 300);
    EXPECT_TRUE(bar.ApplyPendingPosition());
    EXPECT_EQ(barPosition(), 600);
    EXPECT_TRUE(bar.ApplyPendingPosition());  // taken, not shown
    EXPECT_EQ(barPosition(), 600);
    EXPECT_FALSE(bar.ApplyPendingPosition());
}

// ---- text measurement ------------------------------------------------------------

class TextWrapping : public WidgetTest, public testing::WithParamInterface<bool> {};

TEST_P(TextWrapping, WrapsAtTheOfferedWidthOnlyWhenWrapping) {
    const bool wrap = GetParam();
    VEZASimpleTextWidget text(parent_, kLongText, font_, wrap, true);
    bool gh = false;
    bool gv = true;
    const VEZASize line = text.Measure({5000, 1000}, gh, gv);
    EXPECT_TRUE(gh);
    EXPECT_FALSE(gv);
    ASSERT_GT(line.height, 0);
    ASSERT_GT(line.width, 300);

    const int32_t narrow = line.width / 3;
    const VEZASize measured = text.Measure({narrow, 1000}, gh, gv);
    if (wrap) {
        EXPECT_LE(measured.width, narrow);
        EXPECT_GE(measured.height, 3 * line.height);
    } else {
        EXPECT_EQ(measured, line);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TextWrapping, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Wrapping" : "OneLine");
                         });

struct BoxedCase {
    const char* name;
    bool radio;
    bool multiLine;
    int fontHeight;  // 0 for the default GUI font
};
void PrintTo(const BoxedCase& c, std::ostream* os) { *os << c.name; }


class BoxedCaption : public WidgetTest, public testing::WithParamInterface<BoxedCase> {};

// The caption on one line, as a non-wrapping text with the same font
// measures it, plus the box and its gap; never lower than the box.
TEST_P(BoxedCaption, IsTheOneLineCaptionBesideTheBox) {
    const BoxedCase& c = GetParam();
    HFONT font = font_;
    HFONT created = nullptr;
    if (c.fontHeight) {
        created = ::CreateFontW(-c.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
        ASSERT_NE(created, nullptr);
        font = created;
    }
    {
        const std::wstring caption = L"Create a shortcut on the desktop for all users";
        VEZASimpleTextWidget reference(parent_, caption, font, false, true);
        std::unique_ptr<VEZAWidget> button;
        if (c.radio)
            button = std::make_unique<VEZARadioButtonWidget>(parent_, caption, font, c.multiLine, 1001);
        else
            button = std::make_unique<VEZACheckboxWidget>(parent_, caption, font, c.multiLine, 1001);
        ASSERT_NE(button->Handle(), nullptr);

        bool gh = false;
        bool gv = true;
        const VEZASize text = reference.Measure({5000, 1000}, gh, gv);
        // Offered less than the caption needs: still on one line.
        const VEZASize size = button->Measure({text.width / 2, 1000}, gh, gv);
        EXPECT_TRUE(gh);
        EXPECT_FALSE(gv);
        EXPECT_EQ(size.width, text.width + 16 + 2);
        EXPECT_EQ(size.height, std::max<int32_t>(text.height, 16));
        if (c.fontHeight) {
            EXPECT_GT(size.height, 16);
        }
    }
    if (created) ::DeleteObject(created);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoxedCaption,
    testing::Values(BoxedCase{"Checkbox", false, false, 0},
                    BoxedCase{"MultiLineCheckbox", false, true, 0},
                    BoxedCase{"RadioButton", true, false, 0},
                    BoxedCase{"CheckboxWithLargeFont", false, false, 28},
                    BoxedCase{"MultiLineRadioWithLargeFont", true, true, 28}),
    [](const testing::TestParamInfo<BoxedCase>& info) { return std::string(info.param.name); });

TEST_F(WidgetTest, ImageMeasuresItsIcon) {
    VEZAImageWidget image(parent_, ::LoadIconW(nullptr, IDI_APPLICATION), true);
    VEZAImageWidget empty(parent_, nullptr, true);
    bool gh = true;
    bool gv = true;
    EXPECT_EQ(image.Measure({500, 500}, gh, gv),
              (VEZASize{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)}));
    EXPECT_FALSE(gh);
    EXPECT_FALSE(gv);
    EXPECT_EQ(empty.Measure({500, 500}, gh, gv), (VEZASize{0, 0}));
}

// ---- widgets in a tree ------------------------------------------------------------

TEST_F(WidgetTest, TreePlacesWidgetWindowsAndDestroysThemWithIt) {
    auto column = std::make_unique<VEZAVerticalLayout>();
    auto text = std::make_unique<VEZASimpleTextWidget>(parent_, L"Preparing", font_, true, true);
    auto bar = std::make_unique<VEZAProgressWidget>(parent_, kPositionMessage, 100, true);
    const HWND textWindow = text->Handle();
    const HWND barWindow = bar->Handle();
    bool gh = false;
    bool gv = false;
    const VEZASize textSize = text->Measure({300, 200}, gh, gv);
    column->Add(std::move(text), kAlignFill);
    column->Add(std::move(bar), kAlignFill);
    column->SetMargins(10, 10, 20, 0);
    column->SetGeometry({0, 0, 320, 200});

    const RECT textPlace = PlaceOf(textWindow);
    const RECT barPlace = PlaceOf(barWindow);
    EXPECT_EQ(textPlace.left, 10);
    EXPECT_EQ(textPlace.top, 20);
    EXPECT_EQ(textPlace.right, 310);
    EXPECT_EQ(textPlace.bottom, 20 + textSize.height);
    EXPECT_EQ(barPlace.left, 10);
    EXPECT_EQ(barPlace.top, 20 + textSize.height + 5);
    EXPECT_EQ(barPlace.right, 310);
    EXPECT_EQ(barPlace.bottom - barPlace.top, 16);

    column->Show(SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(textWindow) || ::IsWindowVisible(barWindow) ||
                 (::GetWindowLongPtrW(barWindow, GWL_STYLE) & WS_VISIBLE));
    column.reset();
    EXPECT_FALSE(::IsWindow(textWindow));
    EXPECT_FALSE(::IsWindow(barWindow));
}

// ---- helpers for fixed positions ---------------------------------------------------

struct FitCase {
    const char* name;
    DWORD extraStyle;
    int height;  // the control's height before
};
void PrintTo(const FitCase& c, std::ostream* os) { *os << c.name; }


class FitHeight : public WidgetTest, public testing::WithParamInterface<FitCase> {};

TEST_P(FitHeight, MakesTheClientAreaAsHighAsTheWrappedText) {
    const FitCase& c = GetParam();
    HWND control = ::CreateWindowExW(0, L"STATIC", kLongText, WS_CHILD | WS_VISIBLE | SS_LEFT | c.extraStyle,
                                     10, 20, 160, c.height, parent_, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    RECT client{};
    ::GetClientRect(control, &client);
    const RECT before = PlaceOf(control);

    const int change = FitHeightToText(control);
    RECT fitted{};
    ::GetClientRect(control, &fitted);
    const RECT after = PlaceOf(control);
    EXPECT_EQ(fitted.bottom, client.bottom + change);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);  // the width (frame included) stays
    EXPECT_EQ(after.bottom - before.bottom, change);
    if (c.height < 20) {
        EXPECT_GT(change, 20);  // several lines from a sliver
    } else {
        EXPECT_LT(change, -100);
    }
    EXPECT_EQ(FitHeightToText(control), 0);  // a fitted control stays as it is
    ::DestroyWindow(control);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitHeight,
    testing::Values(FitCase{"GrowsAPlainText", 0, 8}, FitCase{"GrowsABorderedText", WS_BORDER, 8},
                    FitCase{"ShrinksATallBorderedText", WS_BORDER, 300}),
    [](const testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

TEST_F(WidgetTest, MoveByMovesInTheParentsClientCoordinates) {
    HWND control = ::CreateWindowExW(0, L"STATIC", L"x", WS_CHILD | WS_VISIBLE, 10, 20, 50, 30,
                                     parent_, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    MoveBy(control, 5, -3);
    const RECT place = PlaceOf(control);
    EXPECT_EQ(place.left, 15);
    EXPECT_EQ(place.top, 17);
    EXPECT_EQ(place.right - place.left, 50);
    EXPECT_EQ(place.bottom - place.top, 30);
    ::DestroyWindow(control);
}

}  // namespace
