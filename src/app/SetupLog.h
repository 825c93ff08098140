#pragma once
// The setup log: UTF-16LE lines without a byte-order mark, each written with
// one write call and flushed at once. The same file later receives the log of
// Windows Installer: the launcher hands it over around each installer call
// and takes it back afterwards.
#include <windows.h>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/SetupAppCommandLineInfo.h"
#include "base/TextFormat.h"
#include "framework/UniqueHandle.h"

class SetupLog {
public:
    // Highest line level written for the Windows Installer log-mode bits.
    static int LevelFromMode(uint32_t mode);

    // Remembers the /L settings and derives the level.
    void Configure(const std::wstring& fileName, uint32_t mode, uint32_t attributes);
    // Creates or, with the append attribute, opens the named file. A file that
    // cannot be created leaves the log closed; the run goes on.
    bool Open();
    void Close();

    bool IsOpen() const { return file_.valid(); }
    int Level() const { return level_; }
    const std::wstring& FileName() const { return fileName_; }

    // A finished text, never used as a format.
    bool WriteText(int level, std::wstring_view text);

    template <typename... Args>
    bool WriteLog(int level, std::wstring_view format, const Args&... args) {
        if (!file_.valid() || level > level_) return true;
        return WriteText(level, FormatText(format, args...));
    }

    // Closes the file and lets Windows Installer log into it.
    void HandOverToInstaller();
    // Opens the file again after Windows Installer has written its part.
    void TakeBack();

private:
    bool OpenFile(DWORD disposition);

    fw::UniqueFile file_;
    std::wstring fileName_;
    uint32_t mode_ = 0;
    uint32_t attributes_ = 0;
    int level_ = 0;
};

// "YYYY-MM-DD hh:mm:ss" of the local time, as the banners show it.
std::wstring LocalTimeText();
