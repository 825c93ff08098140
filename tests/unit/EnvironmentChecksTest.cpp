#include <gtest/gtest.h>

#include <windows.h>

#include "app/EnvironmentChecks.h"

namespace {

// Answers the membership question as a test wants it.
class FakeMembership : public TokenMembershipIF {
public:
    FakeMembership(int admins, int powerUsers) : admins_(admins), powerUsers_(powerUsers) {}
    int IsMember(PSID group) const override {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        PSID admins = nullptr;
        ::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins);
        const bool isAdmins = ::EqualSid(group, admins);
        ::FreeSid(admins);
        return isAdmins ? admins_ : powerUsers_;
    }

private:
    int admins_;
    int powerUsers_;
};

TEST(EnvironmentChecks, RightsOfAdministratorsAndPowerUsers) {
    EXPECT_TRUE(UserHasSetupRights(FakeMembership(1, 0)));
    EXPECT_TRUE(UserHasSetupRights(FakeMembership(0, 1)));   // a Power User passes
    EXPECT_FALSE(UserHasSetupRights(FakeMembership(0, 0)));
    EXPECT_FALSE(UserHasSetupRights(FakeMembership(-1, -1)));  // cannot tell: no rights
    EXPECT_TRUE(UserHasSetupRights(SystemTokenMembership()));  // Wine's user is an administrator
}

TEST(EnvironmentChecks, TheSetupMutexIsSharedByName) {
    fw::UniqueKernelHandle first;
    fw::UniqueKernelHandle second;
    ASSERT_FALSE(IsAnotherSetupRunning(10, first));
    EXPECT_TRUE(first.valid());
    EXPECT_TRUE(IsAnotherSetupRunning(10, second));
    first.reset();
    second.reset();
    fw::UniqueKernelHandle third;
    EXPECT_FALSE(IsAnotherSetupRunning(10, third));
}

TEST(EnvironmentChecks, Direct2DIsFound) { EXPECT_TRUE(IsDirect2DPresent()); }

}  // namespace
