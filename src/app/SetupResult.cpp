#include "app/SetupResult.h"

#include <windows.h>

#include "base/TextFormat.h"

std::wstring ShortResultText(int32_t code) {
    switch (code) {
    case 1: return L"Installer is corrupted.";
    case 2: return L"Installation failed.";
    case 3: return L"User cancelled installation.";
    case 4: return L"Incompatible Windows Version";
    case 5: return L"Direct 2D not found";
    case 6: return L"Another installer was already running.";
    case 7: return L"Installation requires admin rights.";
    case 9: return L"Could not find MSI-file";
    case 10: return L"Installing a 64-bit product on a 32-bit system";
    case 11: return L"Your disk is full.";
    default: return {};
    }
}

unsigned ResultMessageId(int32_t code) {
    switch (code) {
    case 1: return 6;
    case 4: return 25;
    case 5: return 67;
    case 6: return 27;
    case 7: return 18;
    case 8: return 24;
    case 9: return 60;
    case 10: return 64;
    case 11: return 1130;
    case 13: return 1146;
    case 1625: return 26;
    case 1633: return 63;
    default: return 0;
    }
}

std::wstring SystemErrorText(uint32_t error) {
    LPWSTR buffer = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                     nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                     reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer) ::LocalFree(buffer);
    // System texts end with a line break, which would split the log line.
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return text;
}

std::wstring ResultText(const SetupResult& result) {
    const std::wstring shortText = ShortResultText(result.code);
    if (result.systemError == 0) return shortText;
    const std::wstring systemText = SystemErrorText(result.systemError);
    if (systemText.empty()) return shortText;
    return FormatText(L"%s (%d - %s)", shortText, static_cast<int>(result.systemError), systemText);
}
