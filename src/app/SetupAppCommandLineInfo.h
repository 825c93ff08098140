#pragma once
// The launcher's command line: switches modelled on those of the Windows
// Installer command-line tool, the launcher's own keywords (lang=,
// subPackages=, workload=, TRANSFORMS=) and Windows Installer properties.
// Portable: no Windows header, so it also builds natively for sanitizers and
// fuzzing.
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

// Log-attribute bits of the /L switch.
constexpr uint32_t kLogAttributeAppend = 1;
constexpr uint32_t kLogAttributeFlush = 2;

// Windows Installer log-mode bits of the /L letters.
constexpr uint32_t kLogModeDefault = 919;  // i, w, e, a, r, m and o
constexpr uint32_t kLogModeAll = 3999;     // * : every letter except v, x and the resolve-source bit

// Windows Installer reinstall-mode bits of the /f letters; /f alone is a, m, u, s, v.
constexpr uint32_t kReinstallModeDefault = 1984;

class CSetupAppCommandLineInfo : public fw::CCommandLineInfoBase {
public:
    void ParseParam(const std::wstring& text, bool isSwitch, bool isLast) override;

    bool SyntaxError() const { return syntaxError_; }
    bool Help() const { return help_; }
    bool Extract() const { return extract_; }
    bool Administrative() const { return administrative_; }
    bool Uninstall() const { return uninstall_; }
    bool Repair() const { return repair_; }
    bool Validate() const { return validate_; }
    bool KeepFastOem() const { return keepFastOem_; }
    bool AllUsers() const { return allUsers_; }
    bool FastOem() const { return fastOem_; }
    int32_t UILevel() const { return uiLevel_; }
    // Message boxes appear only when the UI level has bit value 2 clear.
    bool ShowsMessageBoxes() const { return (uiLevel_ & 2) == 0; }
    const std::wstring& LogFile() const { return logFile_; }
    uint32_t LogMode() const { return logMode_; }
    uint32_t LogAttributes() const { return logAttributes_; }
    uint32_t ReinstallMode() const { return reinstallMode_; }
    const std::wstring& MifFile() const { return mifFile_; }
    const std::wstring& Transforms() const { return transforms_; }
    const std::wstring& Language() const { return language_; }
    const std::wstring& SubPackages() const { return subPackages_; }
    const std::wstring& Workload() const { return workload_; }
    // NAME=VALUE texts in command-line order.
    const std::vector<std::wstring>& Properties() const { return properties_; }
    // The service configuration page takes over the properties it replaces.
    void RemoveProperty(const std::wstring& property);

private:
    void ParseSwitch(const std::wstring& text);
    void ParseUILevel(const std::wstring& text);
    void ParseLogging(const std::wstring& text);
    void ParseRepair(const std::wstring& text);
    bool TakeModeSwitch(bool& mode);
    bool ParseProperty(const std::wstring& text);
    void EndOfParsing();

    bool syntaxError_ = false;
    bool help_ = false;
    bool extract_ = false;
    bool administrative_ = false;
    bool uninstall_ = false;
    bool repair_ = false;
    bool keepFastOem_ = false;
    bool allUsers_ = false;
    bool fastOem_ = false;
    bool validate_ = false;
    int32_t uiLevel_ = kUILevelFull + kUILevelEndDialog;
    std::wstring logFile_;
    uint32_t logMode_ = kLogModeDefault;
    uint32_t logAttributes_ = 0;
    bool logFilePending_ = false;
    std::wstring transforms_;
    bool transformsTaken_ = false;
    std::vector<std::wstring> properties_;
    uint32_t reinstallMode_ = 0;
    bool mifFilePending_ = false;
    std::wstring mifFile_;
    std::wstring language_;
    std::wstring subPackages_;
    std::wstring workload_;
};

// The process command line as the log shows it: the values of properties
// whose name ends in "_Service_Password" are masked.
std::wstring MaskCommandLineSecrets(const std::wstring& commandLine);
