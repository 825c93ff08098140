#pragma once
// The checks that refuse a machine before anything is installed: the
// Windows version, Direct2D, a setup already running, administrator rights.
// They record facts and answer; InitInstance logs, shows and sets results.
#include <windows.h>
#include <string>

#include "app/OsRequirement.h"
#include "app/SetupLog.h"
#include "framework/UniqueHandle.h"

struct OsFacts {
    OsVersion running;
    unsigned build = 0;
    std::wstring name;          // of the running Windows
    std::wstring expectedName;  // of the required minimum
    bool x64 = false;           // the native processor architecture is x64
    unsigned welcomeTextId = 35;
};

// Compares the running Windows with the catalogue's "OS" text; logs as it goes.
bool CheckOsVersion(const std::wstring& osResource, SetupLog& log, OsFacts& facts);

// Direct2D 1.1: a factory that answers for ID2D1Factory1.
bool IsDirect2DPresent();

// Creates the setup mutex shared by every launcher of the maker and keeps it
// in mutex for the life of the process; true when another setup holds it.
bool IsAnotherSetupRunning(unsigned osMajor, fw::UniqueKernelHandle& mutex);
extern const wchar_t kSetupMutexName[];

// Whether the current token belongs to a group; the production answer asks
// the system, tests give their own.
class TokenMembershipIF {
public:
    virtual ~TokenMembershipIF() = default;
    virtual int IsMember(PSID group) const = 0;  // 1 member, 0 not, -1 cannot tell
};

class SystemTokenMembership : public TokenMembershipIF {
public:
    int IsMember(PSID group) const override;
};

// Members of Administrators or Power Users may run the setup.
bool UserHasSetupRights(const TokenMembershipIF& membership);
