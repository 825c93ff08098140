#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/TextFormat.h"

namespace {

struct FormatCase {
    const wchar_t* format;
    std::vector<FormatArg> args;
    const wchar_t* expected;
};

class TextFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(TextFormatTest, FormatsLikeWindowsPrintf) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatTextV(c.format, c.args), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFormatTest,
    testing::Values(
        // %s is a wide string, as on Windows.
        FormatCase{L"QVR (c): found %s\r\n", {L"Windows 10.0.19045"}, L"QVR (c): found Windows 10.0.19045\r\n"},
        FormatCase{L"%04d-%02d-%02d %02d:%02d:%02d", {2026, 3, 7, 9, 5, 0}, L"2026-03-07 09:05:00"},
        FormatCase{L"%s (%d - %s)", {L"Installation failed.", 1603, L"Fatal"}, L"Installation failed. (1603 - Fatal)"},
        FormatCase{L"%i.%i.%i.%i", {1, 0, 0, 1}, L"1.0.0.1"},
        FormatCase{L"[%-6s|%6s|%.2s]", {L"ab", L"cd", L"xyz"}, L"[ab    |    cd|xy]"},
        FormatCase{L"%u %x %X %lu", {-1, 255, 255, 7u}, L"4294967295 ff FF 7"},
        FormatCase{L"100%% %c", {L'x'}, L"100% x"},
        FormatCase{L"%s_%d_%s", {L"PACKAGE", 0, L"1031"}, L"PACKAGE_0_1031"},
        // A text that is not a format stays as it is when passed as argument.
        FormatCase{L"%s", {L"%s %d %n %%"}, L"%s %d %n %%"},
        // Mismatched or missing arguments never crash: a number where a
        // string is asked for is shown as a number, a missing one as nothing,
        // and a text where a number is asked for as the text.
        FormatCase{L"<%s>", {42}, L"<42>"},
        FormatCase{L"<%d>", {L"abc"}, L"<abc>"},
        FormatCase{L"<%s|%d>", {}, L"<|>"},
        FormatCase{L"%n%q%", {1}, L"%n%q%"},
        FormatCase{L"%ls %hs %I64d", {L"a", L"b", 5LL}, L"a b 5"}));

TEST(TextFormat, LongResultIsWrittenWhole) {
    const std::wstring big(10000, L'x');
    const std::wstring out = FormatText(L"<%s>", big);
    ASSERT_EQ(out.size(), big.size() + 2);
    EXPECT_EQ(out.front(), L'<');
    EXPECT_EQ(out.back(), L'>');
}

TEST(TextFormat, HostileWidthIsBounded) {
    const std::wstring out = FormatText(L"%999999999d|%*s", 1, 999999999, L"a");
    EXPECT_LT(out.size(), 10000u);
    EXPECT_EQ(out.back(), L'a');
}

}  // namespace
