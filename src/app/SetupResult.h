#pragma once
// The outcome of a launcher run and the texts that describe it.
#include <cstdint>
#include <string>

struct SetupResult {
    int32_t code = 0;          // 0, a launcher code, or a Windows Installer error number
    uint32_t systemError = 0;  // Windows or Windows Installer error explaining code, 0 when none
    bool reported = true;      // the message for code has been logged and shown
};

// Launcher result codes.
enum ResultCode : int32_t {
    kResultSuccess = 0,
    kResultCorrupted = 1,
    kResultFailed = 2,
    kResultCancelled = 3,
    kResultIncompatibleWindows = 4,
    kResultNoDirect2D = 5,
    kResultAlreadyRunning = 6,
    kResultNoAdminRights = 7,
    kResultOtherVersionInstalled = 8,
    kResultMsiFileMissing = 9,
    kResult64BitOn32Bit = 10,
    kResultDiskFull = 11,
    kResultCatalogueUnusable = 13,
};

// The short text logged for a code; empty for codes without one.
std::wstring ShortResultText(int32_t code);

// String id of the message shown for a code; 0 when none is shown.
unsigned ResultMessageId(int32_t code);

// The short text, followed by " (number - system text)" when the result
// carries a system error the system can describe.
std::wstring ResultText(const SetupResult& result);

// The system's own text for an error number, without its trailing line end.
std::wstring SystemErrorText(uint32_t error);
