#include "app/OsRequirement.h"

#include <tuple>

#include "base/TextFormat.h"

OsRequirement ParseOsRequirement(const std::wstring& text) {
    OsRequirement requirement;
    std::wstring version = text;
    const size_t slash = text.find(L'/');
    if (slash != std::wstring::npos) {
        version = text.substr(0, slash);
        requirement.restriction = text.substr(slash + 1);
    }
    if (version == L"WinNT") version = L"4.0";
    if (version == L"WinXP") version = L"5.1.2";
    unsigned* parts[] = {&requirement.version.major, &requirement.version.minor, &requirement.version.servicePackMajor,
                         &requirement.version.servicePackMinor};
    size_t start = 0;
    for (unsigned* part : parts) {
        if (start > version.size()) break;
        const size_t dot = version.find(L'.', start);
        const std::wstring piece = version.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
        unsigned long value = 0;
        for (wchar_t c : piece) {
            if (c < L'0' || c > L'9') break;
            value = value * 10 + static_cast<unsigned long>(c - L'0');
            if (value > 0xFFFF) value = 0xFFFF;
        }
        *part = static_cast<unsigned>(value);
        if (dot == std::wstring::npos) break;
        start = dot + 1;
    }
    return requirement;
}

std::wstring WindowsName(const OsVersion& v, unsigned build, unsigned productType, unsigned suiteMask, bool x64Processor,
                         bool serverR2) {
    const bool workstation = productType == kProductTypeWorkstation;
    std::wstring name;
    if (v.major == 5 && v.minor == 0) {
        name = L"Windows 2000";
    } else if (v.major == 5 && v.minor == 1) {
        name = L"Windows XP";
    } else if (v.major == 5 && v.minor == 2) {
        if (serverR2) name = L"Windows Server 2003 R2";
        else if (suiteMask & kSuiteStorageServer) name = L"Windows Storage Server 2003";
        else if (suiteMask & kSuiteHomeServer) name = L"Windows Home Server";
        else if (workstation && x64Processor) name = L"Windows XP Professional x64 Edition";
        else name = L"Windows Server 2003";
    } else if (v.major == 6 && v.minor == 0) {
        name = workstation ? L"Windows Vista" : L"Windows Server 2008";
    } else if (v.major == 6 && v.minor == 1) {
        name = workstation ? L"Windows 7" : L"Windows Server 2008 R2";
    } else if (v.major == 6 && v.minor == 2) {
        name = workstation ? L"Windows 8" : L"Windows Server 2012";
    } else if (v.major == 10 && v.minor == 0) {
        name = FormatText(L"Windows %d.%d.%d", v.major, v.minor, build);
    } else {
        name = FormatText(L"Windows %d.%d", v.major, v.minor);
    }
    if (v.servicePackMajor != 0) {
        name += FormatText(L" ServicePack %d", v.servicePackMajor);
        if (v.servicePackMinor != 0) name += FormatText(L".%d", v.servicePackMinor);
    }
    return name;
}

bool MeetsOsRequirement(const OsVersion& running, const OsVersion& required) {
    return std::tie(running.major, running.minor, running.servicePackMajor) >=
           std::tie(required.major, required.minor, required.servicePackMajor);
}

unsigned WelcomeTextIdFor(const OsVersion& r) {
    if (r.major == 5 && r.minor == 1 && r.servicePackMajor == 3) return 1042;
    if (r.major == 6 && r.minor == 0) return 1043;
    if (r.major == 6 && r.minor == 1 && r.servicePackMajor == 0) return 1044;
    if (r.major == 6 && r.minor == 1 && r.servicePackMajor == 1) return 1324;
    return 35;
}
