#include "app/EnvironmentChecks.h"

#include <objbase.h>

const wchar_t kSetupMutexName[] = L"_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";

namespace {

template <typename F>
F Proc(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

bool CheckOsVersion(const std::wstring& osResource, SetupLog& log, OsFacts& facts) {
    log.WriteLog(3, L"QVR (c): Determining OS version\r\n");
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    unsigned productType = kProductTypeWorkstation;
    unsigned suiteMask = 0;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
#pragma GCC diagnostic pop
        facts.running = {info.dwMajorVersion, info.dwMinorVersion, info.wServicePackMajor, info.wServicePackMinor};
        facts.build = info.dwBuildNumber & 0xFFFF;
        productType = info.wProductType;
        suiteMask = info.wSuiteMask;
    }
    SYSTEM_INFO system{};
    using NativeInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    if (auto native = Proc<NativeInfoFn>(::GetModuleHandleW(L"kernel32.dll"), "GetNativeSystemInfo")) {
        native(&system);
    } else {
        ::GetSystemInfo(&system);
    }
    facts.x64 = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    facts.name = WindowsName(facts.running, facts.build, productType, suiteMask, facts.x64, ::GetSystemMetrics(SM_SERVERR2) != 0);
    log.WriteLog(3, L"QVR (c): found %s\r\n", facts.name);

    const OsRequirement required = ParseOsRequirement(osResource);
    facts.expectedName = WindowsName(required.version, 0, kProductTypeWorkstation, 0, facts.x64, false);
    log.WriteLog(3, L"QVR (c): Expect at least %s %s\r\n", facts.expectedName, required.restriction);
    if (required.version.major == 0) {
        log.WriteLog(2, L"QVR (c): Not checking OS version since no minimum version specified.\r\n");
        return true;
    }
    facts.welcomeTextId = WelcomeTextIdFor(required.version);
    if (facts.welcomeTextId == 35) log.WriteLog(3, L"QVR (c): Default text for supported OSes used.\r\n");
    log.WriteLog(3, L"QVR (c): Checking OS version\r\n");
    if (!MeetsOsRequirement(facts.running, required.version)) return false;
    if (!required.restriction.empty() && required.restriction != L"WSOnly") {
        log.WriteLog(2, L"QVR (c): Unsupported OS restriction selection!\r\n");
    }
    log.WriteLog(3, L"QVR (c): OS version found to be correct.\r\n");
    return true;
}

bool IsDirect2DPresent() {
    static const GUID kFactory = {0x06152247, 0x6F50, 0x465A, {0x92, 0x45, 0x11, 0x8B, 0xFD, 0x3B, 0x60, 0x07}};
    static const GUID kFactory1 = {0xBB12D362, 0xDAEE, 0x4B9A, {0xAA, 0x1D, 0x14, 0xBA, 0x40, 0x1C, 0xFA, 0x1F}};
    fw::UniqueModule d2d(::LoadLibraryW(L"D2D1.dll"));
    using CreateFactoryFn = HRESULT(WINAPI*)(int, REFIID, const void*, void**);
    auto create = Proc<CreateFactoryFn>(d2d.get(), "D2D1CreateFactory");
    if (!create) return false;
    IUnknown* factory = nullptr;
    if (FAILED(create(0 /* single-threaded */, kFactory, nullptr, reinterpret_cast<void**>(&factory))) || !factory) return false;
    IUnknown* factory1 = nullptr;
    const bool present = SUCCEEDED(factory->QueryInterface(kFactory1, reinterpret_cast<void**>(&factory1))) && factory1;
    if (factory1) factory1->Release();
    factory->Release();
    return present;
}

bool IsAnotherSetupRunning(unsigned osMajor, fw::UniqueKernelHandle& mutex) {
    bool global = osMajor > 4;
    if (!global) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\ProductOptions", 0, KEY_READ, &key) ==
            ERROR_SUCCESS) {
            wchar_t suites[1024] = {};
            DWORD size = sizeof(suites) - 2 * sizeof(wchar_t);
            DWORD type = 0;
            if (::RegQueryValueExW(key, L"ProductSuite", nullptr, &type, reinterpret_cast<BYTE*>(suites), &size) == ERROR_SUCCESS &&
                type == REG_MULTI_SZ) {
                for (const wchar_t* s = suites; *s; s += wcslen(s) + 1) global = global || wcscmp(s, L"Terminal Server") == 0;
            }
            ::RegCloseKey(key);
        }
    }
    const std::wstring name = (global ? std::wstring(L"Global\\") : std::wstring()) + kSetupMutexName;
    mutex.reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
    return !mutex.valid() || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

int SystemTokenMembership::IsMember(PSID group) const {
    using CheckFn = BOOL(WINAPI*)(HANDLE, PSID, PBOOL);
    auto check = Proc<CheckFn>(::GetModuleHandleW(L"advapi32.dll"), "CheckTokenMembership");
    if (!check) return -1;
    BOOL member = FALSE;
    if (!check(nullptr, group, &member)) return 0;
    return member ? 1 : 0;
}

bool UserHasSetupRights(const TokenMembershipIF& membership) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    PSID powerUsers = nullptr;
    const bool built =
        ::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins) &&
        ::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_POWER_USERS, 0, 0, 0, 0, 0, 0, &powerUsers);
    bool rights = false;
    if (built) rights = membership.IsMember(admins) == 1 || membership.IsMember(powerUsers) == 1;
    if (admins) ::FreeSid(admins);
    if (powerUsers) ::FreeSid(powerUsers);
    return rights;
}
