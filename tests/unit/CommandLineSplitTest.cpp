#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "framework/CommandLineInfoBase.h"

namespace {

using Fed = std::tuple<std::wstring, bool, bool>;  // text, switch, last

class Recorder : public fw::CCommandLineInfoBase {
public:
    void ParseParam(const std::wstring& text, bool isSwitch, bool isLast) override { fed.emplace_back(text, isSwitch, isLast); }
    std::vector<Fed> fed;
};

struct SplitCase {
    const wchar_t* commandLine;
    std::vector<Fed> expected;
};

class CommandLineSplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplitTest, FeedsEachArgumentAfterTheProgramName) {
    Recorder r;
    fw::FeedArguments(r, fw::SplitCommandLine(GetParam().commandLine));
    EXPECT_EQ(r.fed, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineSplitTest,
    testing::Values(
        SplitCase{L"setup.exe", {}},
        SplitCase{L"\"C:\\Program Files\\setup.exe\" /qn -L*v log.txt",
                  {{L"qn", true, false}, {L"L*v", true, false}, {L"log.txt", false, true}}},
        // Quotes group blanks and are removed; a quoted switch is still a switch.
        SplitCase{L"setup.exe INSTALLDIR=\"C:\\My Folder\" \"/x\"",
                  {{L"INSTALLDIR=C:\\My Folder", false, false}, {L"x", true, true}}},
        // Backslashes before a quote follow the platform's rules.
        SplitCase{L"setup.exe a\\\\\"b c\" \\\\server\\share",
                  {{L"a\\b c", false, false}, {L"\\\\server\\share", false, true}}},
        SplitCase{L"setup.exe /", {{L"", true, true}}}));

}  // namespace
