#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include <string>

#include "TestFiles.h"
#include "app/SetupLog.h"

namespace {

using testfiles::ReadBytes;
using testfiles::ReadUtf16;
using testfiles::TempPath;

TEST(SetupLog, LevelFromLogMode) {
    struct Case {
        uint32_t mode;
        int level;
    } cases[] = {
        {919, 3},                 // default letters i, w, e, a, r, m, o
        {2, 1},                   // e
        {4, 2},                   // w
        {2 | 4, 2},               // e and w
        {16 | 2, 3},              // i wins over e
        {3999 | 4096, 4},         // *v
        {8192, 0},                // x alone writes nothing
        {1 | 128 | 256 | 512, 0}, // letters without e, w, i, v
    };
    for (const Case& c : cases) EXPECT_EQ(SetupLog::LevelFromMode(c.mode), c.level) << "mode " << c.mode;
}

class SetupLogFile : public testing::Test {
protected:
    void SetUp() override {
        path = TempPath(L"orvane-log-test.txt");
        ::DeleteFileW(path.c_str());
    }
    void TearDown() override { ::DeleteFileW(path.c_str()); }
    std::wstring path;
};

TEST_F(SetupLogFile, WritesUtf16WithoutBomAndFiltersByLevel) {
    SetupLog log;
    log.Configure(path, 2 | 4, 0);  // level 2
    ASSERT_TRUE(log.Open());
    log.WriteLog(1, L"QVR (c): %s\r\n", L"one");
    log.WriteLog(2, L"QVR (c): two %d\r\n", 2);
    log.WriteLog(3, L"QVR (c): three\r\n");
    log.WriteText(2, L"%s %d kept as it is\r\n");
    EXPECT_EQ(ReadUtf16(path), L"QVR (c): one\r\nQVR (c): two 2\r\n%s %d kept as it is\r\n");
    // Flushed line by line: another reader sees it while the log is open,
    // and the first bytes are text, not a byte-order mark.
    const std::string bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("Q\0", 2));
}

TEST_F(SetupLogFile, ReplacesOrAppendsAnExistingFile) {
    testfiles::WriteBytes(path, std::string("o\0l\0d\0", 6));
    {
        SetupLog log;
        log.Configure(path, 919, kLogAttributeAppend);
        ASSERT_TRUE(log.Open());
        log.WriteText(1, L"+new");
    }
    EXPECT_EQ(ReadUtf16(path), L"old+new");
    {
        SetupLog log;
        log.Configure(path, 919, 0);
        ASSERT_TRUE(log.Open());
        log.WriteText(1, L"fresh");
    }
    EXPECT_EQ(ReadUtf16(path), L"fresh");
}

TEST_F(SetupLogFile, LongLineIsWrittenWhole) {
    SetupLog log;
    log.Configure(path, 919, 0);
    ASSERT_TRUE(log.Open());
    const std::wstring name(5000, L'n');
    log.WriteLog(3, L"QVR (c): Deleting MSI folder %s\r\n", name);
    EXPECT_EQ(ReadUtf16(path), L"QVR (c): Deleting MSI folder " + name + L"\r\n");
}

TEST_F(SetupLogFile, UnopenableFileLeavesTheLogClosed) {
    SetupLog log;
    log.Configure(TempPath(L"no-such-folder\\log.txt"), 919, 0);
    EXPECT_FALSE(log.Open());
    EXPECT_TRUE(log.WriteLog(1, L"ignored"));
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(SetupLogFile, HandOverKeepsTheLaunchersLinesWithoutAppend) {
    SetupLog log;
    log.Configure(path, 919, 0);  // /L without +
    ASSERT_TRUE(log.Open());
    log.WriteText(1, L"before");
    log.HandOverToInstaller();
    EXPECT_FALSE(log.IsOpen());
    // Windows Installer now owns the file; the launcher takes it back after
    // the action and continues behind what is there.
    log.TakeBack();
    ASSERT_TRUE(log.IsOpen());
    log.WriteText(1, L"after");
    log.Close();
    // Turn installer logging off again for the rest of the test process.
    ::MsiEnableLogW(0, nullptr, 0);
    EXPECT_EQ(ReadUtf16(path), L"before\r\nafter");
}

}  // namespace
