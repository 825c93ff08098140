#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "base/VEZAFileUtilities.h"

namespace {

using U = VEZAFileUtilities;

// The host's name of a path under Wine; empty elsewhere.
std::wstring HostPath(const std::wstring& path) {
    using UnixNameFn = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name) return {};
    std::wstring wide;
    for (const char* c = name; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    ::HeapFree(::GetProcessHeap(), 0, name);
    return wide;
}

// A directory link at link pointing to target: a symbolic link where the
// system makes working ones, else (under Wine) a link of the host file
// system, which Wine shows as a reparse point like Windows shows a junction.
bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target) {
    if (::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && U::IsFolder(link) &&
        (::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return true;
    }
    if (U::Exists(link)) return false;
    const size_t cut = link.rfind(L'\\');
    const std::wstring hostTarget = HostPath(target);
    const std::wstring hostFolder = HostPath(link.substr(0, cut));
    if (hostTarget.empty() || hostFolder.empty()) return false;
    return U::Run(L"Z:\\bin\\ln -s " + hostTarget + L" " + hostFolder + L"/" + link.substr(cut + 1), true, nullptr, nullptr,
                  10000, false, nullptr) == 0;
}

class FileUtilitiesTest : public testing::Test {
protected:
    void SetUp() override {
        root = testfiles::TempPath(L"orvane-files-") + std::to_wstring(::GetCurrentProcessId());
        U::DeleteFolderTree(root);
        ASSERT_TRUE(U::CreateFolder(root, false));
    }
    void TearDown() override { U::DeleteFolderTree(root); }

    std::wstring Make(const std::wstring& relative, const std::string& content = "x") {
        const std::wstring path = root + L"\\" + relative;
        EXPECT_TRUE(U::CreateEmptyFile(path, 0));
        EXPECT_TRUE(U::AppendBytes(path, std::vector<uint8_t>(content.begin(), content.end())));
        return path;
    }
    std::wstring root;
};

TEST_F(FileUtilitiesTest, DeletesATreeWithReadOnlyFiles) {
    const std::wstring file = Make(L"a\\b\\c\\locked.txt", "abc");
    Make(L"a\\top.txt");
    EXPECT_EQ(U::FileSize(file), 3u);
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW((root + L"\\a\\b").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(U::DeleteFolderTree(root + L"\\a"));
    EXPECT_FALSE(U::Exists(root + L"\\a"));
    EXPECT_TRUE(U::DeleteFolderTree(root + L"\\never-was"));
}

TEST_F(FileUtilitiesTest, AFileInUseStopsTheDeletionAndKeepsTheFolder) {
    const std::wstring file = Make(L"busy\\held.txt");
    Make(L"busy\\zz-after.txt");
    fw::UniqueFile held(::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.valid());
    EXPECT_FALSE(U::DeleteFolderTree(root + L"\\busy"));
    EXPECT_TRUE(U::Exists(file));
    EXPECT_TRUE(U::IsFolder(root + L"\\busy"));
    held.reset();
    EXPECT_TRUE(U::DeleteFolderTree(root + L"\\busy"));
}

TEST_F(FileUtilitiesTest, LinksInsideATreeAreRemovedNotFollowed) {
    const std::wstring outside = root + L"\\outside";
    const std::wstring precious = Make(L"outside\\precious.txt");
    ASSERT_TRUE(U::CreateFolder(root + L"\\cache", false));
    if (!MakeDirectoryLink(root + L"\\cache\\link", outside) || !U::Exists(root + L"\\cache\\link\\precious.txt")) {
        GTEST_SKIP() << "this system cannot create directory links";
    }
    ASSERT_TRUE(::GetFileAttributesW((root + L"\\cache\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    const bool deleted = U::DeleteFolderTree(root + L"\\cache");
    // Whatever happens to the link, what it points to stays.
    EXPECT_TRUE(U::Exists(precious));
    if (!deleted && U::Exists(root + L"\\cache\\link")) {
        U::Run(L"Z:\\bin\\rm " + HostPath(root + L"\\cache\\link"), true, nullptr, nullptr, 10000, false, nullptr);
        GTEST_SKIP() << "this system cannot remove a host file-system link as a link";
    }
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(U::Exists(root + L"\\cache"));
}

TEST_F(FileUtilitiesTest, CopiesToLongPaths) {
    const std::wstring source = Make(L"source.txt", "payload");
    std::wstring folder = root;
    while (folder.size() < 270) folder += L"\\long-folder-name";
    const std::wstring target = folder + L"\\" + std::wstring(300 - folder.size() - 5, L'x') + L".txt";
    ASSERT_EQ(target.size(), 300u);
    EXPECT_TRUE(U::CopyFileTo(source, target, false));
    EXPECT_EQ(U::FileSize(target), 7u);
    EXPECT_FALSE(U::CopyFileTo(source, target, true));  // exists, overwriting refused
    // A read-only target is replaced.
    ASSERT_TRUE(::SetFileAttributesW(U::LongPath(target).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(U::CopyFileTo(Make(L"other.txt", "12"), target, false));
    EXPECT_EQ(U::FileSize(target), 2u);
    EXPECT_TRUE(U::DeleteFileAt(target));
    EXPECT_TRUE(U::DeleteFileAt(target));  // gone already: still success
}

TEST_F(FileUtilitiesTest, ListsAndFreeNames) {
    Make(L"list\\a.msi");
    Make(L"list\\b.msi");
    Make(L"list\\c.txt");
    ASSERT_TRUE(U::CreateFolder(root + L"\\list\\d.msi", false));
    auto files = U::ListFiles(root + L"\\list", L"*.msi");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::wstring>{root + L"\\list\\a.msi", root + L"\\list\\b.msi"}));

    Make(L"free\\QUE_CAB0.tmp");
    const std::wstring name = U::FreeFileName(root + L"\\free", L"QUE_CAB%x.tmp", 16);
    EXPECT_EQ(name, root + L"\\free\\QUE_CAB1.tmp");
    EXPECT_TRUE(U::Exists(name));
    EXPECT_EQ(U::FreeFileName(root + L"\\missing", L"QUE_CAB%x.tmp", 4), L"");
}

TEST_F(FileUtilitiesTest, SecuredFolderAndEveryoneGrant) {
    const std::wstring secured = root + L"\\secured";
    ASSERT_TRUE(U::CreateFolder(secured, true));
    EXPECT_TRUE(U::CreateFolder(secured, true));  // exists: still success
    ASSERT_TRUE(U::GrantEveryoneFullAccess(secured));

    const std::wstring& shared = sharedDataFolder();
    EXPECT_TRUE(shared.size() > 7 && shared.compare(shared.size() - 7, 7, L"\\Quelto") == 0);
    EXPECT_TRUE(U::IsFolder(shared));

    // Whether the grant can be read back depends on the file system keeping
    // access lists; Wine here derives them from the host's mode bits.
    if (!U::HasExplicitGrant(secured, GENERIC_ALL, L"everyone")) {
        GTEST_SKIP() << "this file system does not keep access lists; the grant itself is checked on access lists in memory";
    }
    EXPECT_TRUE(U::HasExplicitGrant(shared, GENERIC_ALL, L"EVERYONE"));
}

TEST(FileUtilitiesAcl, ExplicitGrantMatching) {
    wchar_t everyone[] = L"Everyone";
    EXPLICIT_ACCESSW entries[2]{};
    entries[0].grfAccessPermissions = GENERIC_ALL;
    entries[0].grfAccessMode = SET_ACCESS;
    entries[0].grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    entries[0].Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    entries[0].Trustee.ptstrName = everyone;
    PSID admins = nullptr;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    ASSERT_TRUE(::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins));
    entries[1].grfAccessPermissions = GENERIC_READ;
    entries[1].grfAccessMode = DENY_ACCESS;
    entries[1].Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entries[1].Trustee.ptstrName = reinterpret_cast<LPWSTR>(admins);
    PACL acl = nullptr;
    ASSERT_EQ(::SetEntriesInAclW(2, entries, nullptr, &acl), static_cast<DWORD>(ERROR_SUCCESS));

    EXPECT_TRUE(U::AclHasExplicitGrant(acl, GENERIC_ALL, L"EVERYONE"));
    EXPECT_TRUE(U::AclHasExplicitGrant(acl, FILE_ALL_ACCESS, L"everyone"));  // the same rights, specific form
    EXPECT_FALSE(U::AclHasExplicitGrant(acl, GENERIC_READ, L"Everyone"));   // not exactly that mask
    EXPECT_FALSE(U::AclHasExplicitGrant(acl, GENERIC_ALL, L"Users"));
    EXPECT_FALSE(U::AclHasExplicitGrant(acl, GENERIC_READ, L"Administrators"));  // a deny is no grant
    EXPECT_FALSE(U::AclHasExplicitGrant(nullptr, GENERIC_ALL, L"Everyone"));
    ::LocalFree(acl);
    ::FreeSid(admins);
}

std::wstring Helper() {
    std::wstring self = testfiles::TempPath(L"");
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return L"\"" + folder.substr(0, folder.rfind(L'\\')) + L"\\process_helper.exe\"";
}

TEST(FileUtilitiesRun, WaitsTimesOutAndPassesTheEnvironment) {
    EXPECT_EQ(U::Run(Helper() + L" exit 7", true, nullptr, nullptr, INFINITE, false, nullptr), 7);
    EXPECT_EQ(U::Run(L"\"C:\\no\\such\\program.exe\"", true, nullptr, nullptr, INFINITE, false, nullptr), -1);

    const std::map<std::wstring, std::wstring> env{{L"ORVANE_TEST_CODE", L"42"}};
    EXPECT_EQ(U::Run(Helper() + L" env ORVANE_TEST_CODE", true, nullptr, &env, INFINITE, false, nullptr), 42);
    EXPECT_EQ(::GetEnvironmentVariableW(L"ORVANE_TEST_CODE", nullptr, 0), 0u);  // restored

    fw::UniqueKernelHandle process;
    EXPECT_EQ(U::Run(Helper() + L" sleep", true, nullptr, nullptr, 5000, false, &process), 1);
    ASSERT_TRUE(process.valid());
    EXPECT_EQ(::WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);  // it is gone
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 1u);
}

TEST(FileUtilitiesFolders, CurrentAndTemporary) {
    EXPECT_FALSE(U::CurrentFolder().empty());
    const std::wstring temp = U::TemporaryFolder();
    EXPECT_TRUE(U::IsFolder(temp));
}

}  // namespace
