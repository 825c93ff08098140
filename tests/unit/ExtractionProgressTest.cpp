// The extraction page's progress: positions computed from the bytes read
// over the whole list, posted at most every half second (the final position
// always), and positions still waiting when the worker ends reach the bar.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "engine/ExtractionProgressHandler.h"
#include "wizard/UnpackWizardPage.h"

namespace {

// A hidden page stand-in with a progress bar of 0..30.
class ProgressWindows : public testing::Test {
protected:
    void SetUp() override {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        page = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
        bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 300, 14, page, nullptr, nullptr, nullptr);
        ::SendMessageW(bar, PBM_SETRANGE32, 0, 30);
    }
    void TearDown() override { ::DestroyWindow(page); }

    struct Post {
        int position;
        ULONGLONG at;
    };
    // The positions posted to the page since the last call.
    std::vector<Post> Posts() {
        std::vector<Post> posts;
        MSG msg;
        while (::PeekMessageW(&msg, page, kExtractionPositionMessage, kExtractionPositionMessage, PM_REMOVE)) {
            posts.push_back({static_cast<int>(msg.wParam), ::GetTickCount64()});
        }
        return posts;
    }

    HWND page = nullptr;
    HWND bar = nullptr;
};

TEST_F(ProgressWindows, ThreePackagesOfTenTwentyAndSeventyMegabytes) {
    constexpr uint64_t kMB = 1 << 20;
    const uint64_t sizes[] = {10 * kMB, 20 * kMB, 70 * kMB};
    const int atTheEnd[] = {3, 9, 30};
    ExtractionProgressHandler handler(bar);
    handler.SetTotal(100 * kMB);
    std::vector<Post> all;
    uint64_t base = 0;
    for (int package = 0; package < 3; ++package) {
        handler.SetBase(base);
        // The copy reports its bytes in many small steps.
        for (int step = 1; step <= 20; ++step) {
            handler.progress(static_cast<int>(sizes[package] * static_cast<uint64_t>(step) / 20));
            for (const Post& post : Posts()) all.push_back(post);
            ::Sleep(30);
        }
        // Half a second later the package's last bytes are reported again:
        // the bar stands at the package's end.
        ::Sleep(550);
        handler.progress(static_cast<int>(sizes[package]));
        const auto last = Posts();
        ASSERT_EQ(last.size(), 1u) << "package " << package;
        EXPECT_EQ(last[0].position, atTheEnd[package]);
        all.push_back(last[0]);
        base += sizes[package];
    }
    ASSERT_GE(all.size(), 4u);
    for (size_t i = 1; i < all.size(); ++i) {
        EXPECT_GE(all[i].position, all[i - 1].position);
        // Never two posts within half a second, except the final position.
        if (all[i].position != 30) {
            EXPECT_GE(all[i].at - all[i - 1].at, 490u) << "post " << i;
        }
    }
    // The final position is posted whenever it is reported.
    handler.progress(static_cast<int>(sizes[2]));
    ASSERT_EQ(Posts().size(), 1u);
}

TEST_F(ProgressWindows, AnEmptyListIsAtItsEndAtOnce) {
    ExtractionProgressHandler handler(bar);
    handler.progress(0);
    const auto posts = Posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].position, 30);
}

TEST_F(ProgressWindows, PositionsLeftWhenTheWorkerEndsStillReachTheBar) {
    ::PostMessageW(page, kExtractionPositionMessage, 30, 0);
    int quitCode = -1;
    EXPECT_TRUE(DrainAfterWorker(bar, &quitCode));
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 30);

    // A quit message ends the wait and is handed back.
    ::PostQuitMessage(7);
    EXPECT_FALSE(DrainAfterWorker(bar, &quitCode));
    EXPECT_EQ(quitCode, 7);
}

}  // namespace
