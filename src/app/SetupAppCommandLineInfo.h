#pragma once
// The launcher's command line: switches modelled on those of the Windows
// Installer command-line tool, the launcher's own keywords and properties.
// Understood so far: /?, /h, /q letters, /L letters with the log file, /v and
// lang=; every other argument is a syntax error, which prints the usage text.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/CommandLineInfoBase.h"

// Windows Installer UI levels.
constexpr int32_t kUILevelNone = 2;
constexpr int32_t kUILevelBasic = 3;
constexpr int32_t kUILevelReduced = 4;
constexpr int32_t kUILevelFull = 5;
constexpr int32_t kUILevelEndDialog = 128;

class CSetupAppCommandLineInfo : public fw::CCommandLineInfoBase {
public:
    void ParseParam(const std::wstring& text, bool isSwitch, bool isLast) override;

    bool SyntaxError() const { return syntaxError_; }
    bool Help() const { return help_; }
    bool Validate() const { return validate_; }
    int32_t UILevel() const { return uiLevel_; }
    // Message boxes appear only when the UI level has bit value 2 clear.
    bool ShowsMessageBoxes() const { return (uiLevel_ & 2) == 0; }
    const std::wstring& LogFile() const { return logFile_; }
    uint32_t LogMode() const { return logMode_; }
    uint32_t LogAttributes() const { return logAttributes_; }
    const std::wstring& Language() const { return language_; }

private:
    void ParseSwitch(const std::wstring& text);
    void ParseUILevel(const std::wstring& text);
    void ParseLogging(const std::wstring& text);

    bool syntaxError_ = false;
    bool help_ = false;
    bool validate_ = false;
    int32_t uiLevel_ = kUILevelFull + kUILevelEndDialog;
    std::wstring logFile_;
    uint32_t logMode_ = 919;  // i, w, e, a, r, m and o
    uint32_t logAttributes_ = 0;
    bool logFilePending_ = false;
    std::wstring language_;
};
