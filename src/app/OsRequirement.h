#pragma once
// The Windows version a product needs (the catalogue's "OS" text), the
// names the launcher gives Windows versions, and the welcome sentence that
// fits a requirement. Portable (no Windows header).
#include <string>

struct OsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned servicePackMajor = 0;
    unsigned servicePackMinor = 0;
};

struct OsRequirement {
    OsVersion version;
    std::wstring restriction;  // after "/"; "WSOnly" is the only one known
};

constexpr unsigned kProductTypeWorkstation = 1;
constexpr unsigned kSuiteStorageServer = 0x2000;
constexpr unsigned kSuiteHomeServer = 0x8000;

// "version[/restriction]"; "WinNT" and "WinXP" stand for 4.0 and 5.1.2.
OsRequirement ParseOsRequirement(const std::wstring& text);

// The name of a Windows version, e.g. "Windows 7 ServicePack 1".
std::wstring WindowsName(const OsVersion& version, unsigned build, unsigned productType, unsigned suiteMask,
                         bool x64Processor, bool serverR2);

// Whether the running version meets the requirement: major, minor and
// service pack major compared in that order.
bool MeetsOsRequirement(const OsVersion& running, const OsVersion& required);

// String id of the welcome sentence about supported systems; 35 is the default.
unsigned WelcomeTextIdFor(const OsVersion& required);
