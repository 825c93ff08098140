#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "framework/MessageLoop.h"

namespace {

TEST(MessageLoop, PostedQuitEndsModalLoopAndStaysForTheDrain) {
    const DWORD self = ::GetCurrentThreadId();
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    std::thread worker([self] { fw::PostQuitTo(self, 1603); });
    worker.join();

    int iterations = 0;
    const bool completed = fw::RunModalLoop([&] { return ++iterations > 1000000; });
    EXPECT_FALSE(completed);
    // The quit message that ended the modal loop is seen again by the drain,
    // with its code.
    EXPECT_EQ(fw::DrainUntilQuit(), 1603);
}

TEST(MessageLoop, ModalLoopReturnsTrueWhenDone) {
    bool done = false;
    const DWORD self = ::GetCurrentThreadId();
    ::PostThreadMessageW(self, WM_USER + 5, 0, 0);
    EXPECT_TRUE(fw::RunModalLoop([&] {
        MSG m;
        if (::PeekMessageW(&m, nullptr, WM_USER + 5, WM_USER + 5, PM_REMOVE)) done = true;
        return done;
    }));
}

}  // namespace
