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

#include "TestFiles.h"
#include "app/SetupApp.h"

namespace {

// The start-up decisions of a launcher whose user is neither administrator
// nor power user. The test program runs with /qn on its command line, so no
// message box appears.
TEST(StartUpDecisions, AUserWithoutRightsIsRefusedWithCode7) {
    const std::wstring log = testfiles::TempPath(L"orvane-rights.log");
    ::DeleteFileW(log.c_str());
    int exitCode = -1;
    {
        CSetupApp app;
        ASSERT_FALSE(app.CommandLine().ShowsMessageBoxes()) << "run this test program with /qn";
        const FakeMembership nobody(0, 0);
        app.UseTokenMembership(nobody);
        app.Log().Configure(log, 919, 0);
        ASSERT_TRUE(app.Log().Open());
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.Result().code, 7);
        exitCode = app.ExitInstance();
    }
    EXPECT_EQ(exitCode, 7);
    const std::wstring text = testfiles::ReadUtf16(log);
    EXPECT_NE(text.find(L"QVR (c): User has no sufficient rights to run setup.\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"QVR (c): ERROR: Installation requires admin rights.\r\n"), std::wstring::npos);
    EXPECT_EQ(text.find(L"Start processing"), std::wstring::npos);

    // A power user goes on to the main path.
    {
        CSetupApp app;
        const FakeMembership powerUser(0, 1);
        app.UseTokenMembership(powerUser);
        app.InitInstance();
        EXPECT_NE(app.Result().code, 7);
        app.ExitInstance();
    }
    ::DeleteFileW(log.c_str());
    // Quit messages the start-ups posted and no drain took stay out of later tests.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace
