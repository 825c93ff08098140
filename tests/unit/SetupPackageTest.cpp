#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include <cstdlib>
#include <string>

#include "app/SetupPackage.h"
#include "base/VEZAFileUtilities.h"

namespace {

// The end-to-end tests' product, installed for real through msi.dll.
const wchar_t kProductCode[] = L"{8E4B1C2D-6F70-4A81-B2C3-D4E5F6A7B801}";

std::wstring ProductMsi() {
    const char* dir = std::getenv("ORVANE_E2E_DIR");
    std::wstring path = L"Z:";
    for (const char* c = dir ? dir : ""; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path + L"\\product.msi";
}

std::wstring InstalledPackageCode() {
    wchar_t code[256];
    DWORD size = 256;
    return ::MsiGetProductInfoW(kProductCode, INSTALLPROPERTY_PACKAGECODE, code, &size) == ERROR_SUCCESS ? code : L"";
}

PackageFacts Facts(const std::wstring& packageCode, const wchar_t* platform = L"Intel") {
    return {L"Quelto Markwell Test", kProductCode, packageCode, L"MW::TEST", platform, L"2.1.0", L"", L"PACKAGE_0", L"PACKAGE_0_%s"};
}

CSetupAppCommandLineInfo CommandLine(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"setup.exe");
    CSetupAppCommandLineInfo info;
    fw::FeedArguments(info, args);
    return info;
}

class SetupPackageTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
        ASSERT_EQ(::MsiInstallProductW(ProductMsi().c_str(), L""), static_cast<UINT>(ERROR_SUCCESS)) << "installing product.msi";
    }
    static void TearDownTestSuite() { ::MsiConfigureProductW(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT); }
};

TEST_F(SetupPackageTest, InstalledFromThisPackageOrFromAnother) {
    const std::wstring ours = InstalledPackageCode();
    ASSERT_EQ(ours.size(), 38u);
    const auto install = CommandLine({});

    const SetupPackage same(Facts(ours), true, install, false);
    EXPECT_TRUE(same.InstalledAtStart());
    EXPECT_FALSE(same.Foreign());

    const SetupPackage other(Facts(L"{00000000-0000-0000-0000-000000000001}"), true, install, false);
    EXPECT_TRUE(other.InstalledAtStart());
    EXPECT_TRUE(other.Foreign());
    EXPECT_FALSE(IsInstalled(other));  // a foreign package does not count as installed

    PackageFacts lowerCase = Facts(ours);
    for (auto& c : lowerCase.productCode) c = static_cast<wchar_t>(towlower(c));
    EXPECT_FALSE(SetupPackage(lowerCase, true, install, false).InstalledAtStart());  // exact product code

    PackageFacts taxonomy = Facts(ours);
    taxonomy.installerType = L"taxonomy";
    EXPECT_FALSE(SetupPackage(taxonomy, true, install, false).InstalledAtStart());
}

TEST_F(SetupPackageTest, DefaultSelection) {
    const std::wstring ours = InstalledPackageCode();
    const PackageFacts installed = Facts(ours);
    PackageFacts absent = Facts(L"{00000000-0000-0000-0000-000000000002}");
    absent.productCode = L"{00000000-0000-0000-0000-0000000000FF}";
    struct Case {
        std::vector<std::wstring> args;
        const PackageFacts* facts;
        bool main, mainInstalled, selected;
    } cases[] = {
        {{}, &absent, true, false, true},             // the main package always
        {{}, &installed, false, true, true},          // sub installed, main installed
        {{}, &absent, false, true, false},            // sub missing, main installed
        {{}, &absent, false, false, true},            // sub missing, main missing
        {{}, &installed, false, false, false},        // sub installed, main missing
        {{L"/x"}, &absent, true, false, false},       // remove: only what is installed
        {{L"/f"}, &installed, false, false, true},    // repair: only what is installed
        {{L"/u"}, &absent, false, true, true},        // unpack: everything
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SetupPackage(*c.facts, c.main, CommandLine(c.args), c.mainInstalled).Selected(), c.selected)
            << (c.args.empty() ? "" : std::string(c.args[0].begin(), c.args[0].end())) << " main " << c.main;
    }
}

TEST(SetupPackage, PlatformCodesAndCache) {
    const auto install = CommandLine({});
    EXPECT_TRUE(SetupPackage(Facts(L"{11111111-2222-3333-4444-555555555555}", L"x64"), true, install, false).Is64Bit());
    EXPECT_FALSE(SetupPackage(Facts(L"{11111111-2222-3333-4444-555555555555}", L"X64"), true, install, false).Is64Bit());
    EXPECT_TRUE(SetupPackage(Facts(L"{11111111-2222-3333-4444-555555555555}"), true, install, false).IsMsi());

    for (const wchar_t* bad : {L"..\\x", L"{11111111-2222-3333-4444-55555555555}", L"{11111111-2222-3333-4444-55555555555G}",
                               L"11111111-2222-3333-4444-555555555555", L""}) {
        const SetupPackage p(Facts(bad), true, install, false);
        EXPECT_FALSE(p.HasValidPackageCode());
        EXPECT_EQ(p.CacheFolder(), L"");  // never used as a folder name
    }

    // One .msi in the cache folder is used only when it is this package (the
    // extraction tests show a real one taken); a file that is no package at
    // all is refused and removed.
    const std::wstring code = L"{ABCDEF01-2345-6789-ABCD-EF0123456789}";
    const std::wstring folder = sharedDataFolder() + L"\\" + code;
    VEZAFileUtilities::DeleteFolderTree(folder);
    ASSERT_TRUE(VEZAFileUtilities::CreateEmptyFile(folder + L"\\main.msi", 0));
    const SetupPackage one(Facts(code), true, install, false);
    EXPECT_EQ(one.CacheFolder(), folder);
    EXPECT_EQ(one.PackageFile(), L"");
    EXPECT_EQ(one.RefusedCacheFile(), folder + L"\\main.msi");
    EXPECT_FALSE(VEZAFileUtilities::Exists(folder + L"\\main.msi"));
    VEZAFileUtilities::DeleteFolderTree(folder);
}

}  // namespace
