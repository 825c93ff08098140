#include <gtest/gtest.h>

#include <string>

#include "app/OsRequirement.h"

namespace {

TEST(OsRequirement, ParsesVersionsAliasesAndRestrictions) {
    struct Case {
        const wchar_t* text;
        OsVersion version;
        const wchar_t* restriction;
        unsigned welcome;
    } cases[] = {
        {L"6.1.1", {6, 1, 1, 0}, L"", 1324},
        {L"6.1", {6, 1, 0, 0}, L"", 1044},
        {L"6.0.2.1", {6, 0, 2, 1}, L"", 1043},
        {L"5.1.3", {5, 1, 3, 0}, L"", 1042},
        {L"WinXP", {5, 1, 2, 0}, L"", 35},
        {L"WinNT", {4, 0, 0, 0}, L"", 35},
        {L"6.1.0/WSOnly", {6, 1, 0, 0}, L"WSOnly", 1044},
        {L"WinXP/Other/x", {5, 1, 2, 0}, L"Other/x", 35},
        {L"10", {10, 0, 0, 0}, L"", 35},
        {L"", {0, 0, 0, 0}, L"", 35},
        {L"abc", {0, 0, 0, 0}, L"", 35},
    };
    for (const Case& c : cases) {
        const OsRequirement r = ParseOsRequirement(c.text);
        SCOPED_TRACE(std::string(c.text, c.text + wcslen(c.text)));
        EXPECT_EQ(r.version.major, c.version.major);
        EXPECT_EQ(r.version.minor, c.version.minor);
        EXPECT_EQ(r.version.servicePackMajor, c.version.servicePackMajor);
        EXPECT_EQ(r.version.servicePackMinor, c.version.servicePackMinor);
        EXPECT_EQ(r.restriction, c.restriction);
        EXPECT_EQ(WelcomeTextIdFor(r.version), c.welcome);
    }
}

TEST(OsRequirement, NamesWindowsVersions) {
    const unsigned ws = kProductTypeWorkstation, server = 3;
    struct Case {
        OsVersion v;
        unsigned build, productType, suite;
        bool x64, r2;
        const wchar_t* name;
    } cases[] = {
        {{5, 0, 4, 0}, 2195, ws, 0, false, false, L"Windows 2000 ServicePack 4"},
        {{5, 1, 3, 0}, 2600, ws, 0, false, false, L"Windows XP ServicePack 3"},
        {{5, 2, 0, 0}, 3790, server, 0, false, true, L"Windows Server 2003 R2"},
        {{5, 2, 0, 0}, 3790, server, kSuiteStorageServer, false, false, L"Windows Storage Server 2003"},
        {{5, 2, 0, 0}, 3790, server, kSuiteHomeServer, false, false, L"Windows Home Server"},
        {{5, 2, 2, 0}, 3790, ws, 0, true, false, L"Windows XP Professional x64 Edition ServicePack 2"},
        {{5, 2, 0, 0}, 3790, server, 0, false, false, L"Windows Server 2003"},
        {{6, 0, 2, 0}, 6002, ws, 0, false, false, L"Windows Vista ServicePack 2"},
        {{6, 0, 0, 0}, 6001, server, 0, false, false, L"Windows Server 2008"},
        {{6, 1, 1, 0}, 7601, ws, 0, false, false, L"Windows 7 ServicePack 1"},
        {{6, 1, 1, 2}, 7601, server, 0, false, false, L"Windows Server 2008 R2 ServicePack 1.2"},
        {{6, 2, 0, 0}, 9200, ws, 0, false, false, L"Windows 8"},
        {{6, 2, 0, 0}, 9200, server, 0, false, false, L"Windows Server 2012"},
        {{6, 3, 0, 0}, 9600, ws, 0, false, false, L"Windows 6.3"},
        {{10, 0, 0, 0}, 19045, ws, 0, true, false, L"Windows 10.0.19045"},
        {{0, 0, 0, 0}, 0, ws, 0, false, false, L"Windows 0.0"},
    };
    for (const Case& c : cases) EXPECT_EQ(WindowsName(c.v, c.build, c.productType, c.suite, c.x64, c.r2), c.name);
}

TEST(OsRequirement, ComparesMajorMinorAndServicePack) {
    EXPECT_FALSE(MeetsOsRequirement({6, 1, 0, 0}, {6, 1, 1, 0}));  // Windows 7 without a service pack
    EXPECT_TRUE(MeetsOsRequirement({6, 1, 1, 0}, {6, 1, 1, 0}));
    EXPECT_TRUE(MeetsOsRequirement({10, 0, 0, 0}, {6, 1, 1, 0}));
    EXPECT_FALSE(MeetsOsRequirement({6, 0, 2, 0}, {6, 1, 0, 0}));
    EXPECT_TRUE(MeetsOsRequirement({6, 1, 1, 0}, {6, 1, 1, 9}));  // the fourth number plays no part
}

}  // namespace
