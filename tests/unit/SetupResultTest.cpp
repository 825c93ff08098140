#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "TestFiles.h"
#include "app/SetupApp.h"
#include "app/SetupResult.h"
#include "framework/MessageLoop.h"

namespace {

TEST(SetupResult, ResultTextNamesTheSystemError) {
    const std::wstring failure = SystemErrorText(1603);
    ASSERT_FALSE(failure.empty());
    EXPECT_NE(failure.back(), L'\n');
    EXPECT_EQ(ResultText({2, 1603, false}), L"Installation failed. (1603 - " + failure + L")");
    EXPECT_EQ(ResultText({3, 0, false}), L"User cancelled installation.");
    // Codes without a short text still name the system error.
    EXPECT_EQ(ResultText({8, 1638, false}), L" (1638 - " + SystemErrorText(1638) + L")");
    // An error number the system has no text for leaves the short text alone.
    EXPECT_EQ(ResultText({2, 0x7FFFFFF0u, false}), L"Installation failed.");
}

TEST(SetupResult, MessagesOfTheCodes) {
    const std::pair<int32_t, unsigned> cases[] = {{0, 0},   {1, 6},     {2, 0},     {3, 0},     {4, 25},  {5, 67},
                                                  {6, 27},  {7, 18},    {8, 24},    {9, 60},    {10, 64}, {11, 1130},
                                                  {13, 1146}, {1625, 26}, {1633, 63}, {1603, 0}};
    for (const auto& [code, id] : cases) EXPECT_EQ(ResultMessageId(code), id) << "code " << code;
}

// The application object of a test process: its command line has no /L and
// no switches the launcher knows, which is fine for these operations.
class SetupAppTest : public testing::Test {
protected:
    void SetUp() override {
        path = testfiles::TempPath(L"orvane-app-test.txt");
        ::DeleteFileW(path.c_str());
        app.Log().Configure(path, 919, 0);
        ASSERT_TRUE(app.Log().Open());
    }
    void TearDown() override {
        app.Log().Close();
        ::DeleteFileW(path.c_str());
    }
    CSetupApp app;
    std::wstring path;
};

TEST_F(SetupAppTest, ReportResultLogsOnce) {
    app.Languages().SelectByName(L"English");
    EXPECT_EQ(SetResult(2), 1603);
    app.SetResult(2, 1603, false);
    app.ReportResult();
    app.ReportResult();
    EXPECT_TRUE(app.Result().reported);
    EXPECT_EQ(testfiles::ReadUtf16(path), L"QVR (c): ERROR: " + ResultText({2, 1603, false}) + L"\r\n");
    EXPECT_EQ(SetResult(0), 0);
    EXPECT_EQ(app.Result().code, 0);
}

TEST_F(SetupAppTest, PostQuitFromAWorkerEndsTheWorkerWithTheCode) {
    DWORD exitCode = 0;
    HANDLE thread = ::CreateThread(
        nullptr, 0, [](void* p) -> DWORD {
            static_cast<CSetupApp*>(p)->PostQuit(1603);
            return 99;  // not reached: PostQuit ends the thread
        },
        &app, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(::WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    ::GetExitCodeThread(thread, &exitCode);
    ::CloseHandle(thread);
    EXPECT_EQ(exitCode, 1603u);
    // The quit message reached the main thread and does not change the result.
    EXPECT_EQ(fw::DrainUntilQuit(), 1603);
    EXPECT_EQ(app.Result().code, 0);
}

}  // namespace
