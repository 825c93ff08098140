#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/RegistryKey.h"

namespace {

const std::wstring kTestKey = L"SOFTWARE\\OrvaneRegistryTest";

class RegistryKeyTest : public testing::Test {
protected:
    void TearDown() override {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            RegistryKey software(L"HKEY_LOCAL_MACHINE\\SOFTWARE", false, false, view);
            software.DeleteTree(L"OrvaneRegistryTest");
        }
        // The link of the tree-deletion test goes with its own open-link handle.
        HKEY link = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, (kTestKey + L"\\Locked\\child\\dangling").c_str(), REG_OPTION_OPEN_LINK,
                            DELETE, &link) == ERROR_SUCCESS) {
            ::RegDeleteKeyW(link, L"");
            ::RegCloseKey(link);
        }
        RegistryKey::CurrentUser().DeleteTree(kTestKey);
    }
};

TEST_F(RegistryKeyTest, FullPathsNameTheirRootExactly) {
    for (REGSAM view : {REGSAM{0}, REGSAM{KEY_WOW64_64KEY}, REGSAM{KEY_WOW64_32KEY}}) {
        RegistryKey microsoft(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft", true, false, view);
        EXPECT_TRUE(microsoft.IsOpen()) << "view " << view;
        EXPECT_EQ(microsoft.Name(), L"Microsoft");
        EXPECT_EQ(microsoft.ParentPath(), L"HKEY_LOCAL_MACHINE\\SOFTWARE");
    }
    EXPECT_FALSE(RegistryKey(L"hkey_local_machine\\SOFTWARE", true, false).IsOpen());
    EXPECT_FALSE(RegistryKey(L"HKEY_USERS\\.DEFAULT", true, false).IsOpen());
    EXPECT_FALSE(RegistryKey(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\NoSuchKeyForOrvane", true, false).IsOpen());

    // A path without a backslash is the root itself; closing it leaves the
    // predefined handle usable.
    RegistryKey root(L"HKEY_LOCAL_MACHINE", true, false);
    ASSERT_TRUE(root.IsOpen());
    EXPECT_EQ(root.Handle(), HKEY_LOCAL_MACHINE);
    root.Close();
    EXPECT_FALSE(root.IsOpen());
    HKEY h = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_READ, &h), ERROR_SUCCESS);
    ::RegCloseKey(h);
}

TEST_F(RegistryKeyTest, ViewsAreKeptApart) {
    RegistryKey in32(L"HKEY_LOCAL_MACHINE\\" + kTestKey + L"\\View", false, true, KEY_WOW64_32KEY);
    ASSERT_TRUE(in32.IsOpen());
    ASSERT_TRUE(in32.WriteString(L"Bits", L"32"));
    RegistryKey in64(L"HKEY_LOCAL_MACHINE\\" + kTestKey + L"\\View", true, false, KEY_WOW64_64KEY);
    EXPECT_FALSE(in64.IsOpen());
    // Seen from the 64-bit view, the 32-bit view lies under WOW6432Node.
    RegistryKey redirected(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\OrvaneRegistryTest\\View", true, false, KEY_WOW64_64KEY);
    EXPECT_EQ(redirected.ReadString(L"Bits"), L"32");
}

TEST_F(RegistryKeyTest, TypedValues) {
    RegistryKey key(RegistryKey::CurrentUser(), kTestKey + L"\\Values", false, true);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(key.FullPath(), L"HKEY_CURRENT_USER\\" + kTestKey + L"\\Values");
    ASSERT_TRUE(key.WriteString(L"Text", L"Quelto"));
    ASSERT_TRUE(key.WriteDWORD(L"Number", 1603));
    ASSERT_TRUE(key.WriteString(nullptr, L"default"));
    // Stored without its terminating zero, and an expandable string.
    const wchar_t raw[] = {L'a', L'b', L'c'};
    ASSERT_EQ(::RegSetValueExW(key.Handle(), L"Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof raw), ERROR_SUCCESS);
    const wchar_t expand[] = L"%SystemRoot%\\x";
    ASSERT_EQ(::RegSetValueExW(key.Handle(), L"Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand), sizeof expand), ERROR_SUCCESS);

    EXPECT_EQ(key.ReadString(L"Text"), L"Quelto");
    EXPECT_EQ(key.ReadString(nullptr), L"default");
    EXPECT_EQ(key.ReadDWORD(L"Number"), 1603u);
    EXPECT_EQ(key.ReadString(L"Unterminated"), L"abc");
    EXPECT_EQ(key.ReadString(L"Expand"), L"%SystemRoot%\\x");
    // The wrong type or a missing value answers 0 or empty text.
    EXPECT_EQ(key.ReadDWORD(L"Text"), 0u);
    EXPECT_EQ(key.ReadString(L"Number"), L"");
    EXPECT_EQ(key.ReadString(L"Missing"), L"");
    EXPECT_TRUE(key.DeleteValue(L"Text"));
    EXPECT_EQ(key.ReadString(L"Text"), L"");
    EXPECT_FALSE(key.DeleteValue(L"Text"));

    RegistryKey closed;
    EXPECT_FALSE(closed.WriteDWORD(L"x", 1));
    EXPECT_EQ(closed.ReadString(L"x"), L"");
    EXPECT_FALSE(closed.DeleteTree(L"x"));
}

TEST_F(RegistryKeyTest, IterationAndTreeDeletion) {
    RegistryKey base(RegistryKey::CurrentUser(), kTestKey + L"\\Tree", false, true);
    ASSERT_TRUE(base.IsOpen());
    {
        SubkeyIteration none(base, true);
        EXPECT_EQ(none.Next(), nullptr);
    }
    for (const wchar_t* path : {L"a\\a1\\a11", L"a\\a2", L"b", L"c\\c1"}) {
        ASSERT_TRUE(RegistryKey(base, path, false, true).IsOpen());
    }
    std::vector<std::wstring> names;
    SubkeyIteration it(base, true);
    while (auto sub = it.Next()) {
        EXPECT_TRUE(sub->IsOpen());
        EXPECT_EQ(sub->ParentPath(), base.FullPath());
        names.push_back(sub->Name());
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a", L"b", L"c"}));

    EXPECT_TRUE(base.DeleteTree(L"a"));
    EXPECT_FALSE(RegistryKey(base, L"a", true, false).IsOpen());
    EXPECT_TRUE(RegistryKey(base, L"b", true, false).IsOpen());
    EXPECT_FALSE(base.DeleteTree(L"missing"));
}

TEST_F(RegistryKeyTest, TreeDeletionStopsAtAChildThatCannotGo) {
    RegistryKey base(RegistryKey::CurrentUser(), kTestKey + L"\\Locked", false, true);
    ASSERT_TRUE(RegistryKey(base, L"child\\sibling", false, true).IsOpen());
    // A registry link whose target does not exist can neither be opened nor
    // deleted through its name.
    HKEY link = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(base.Handle(), L"child\\dangling", 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr), ERROR_SUCCESS);
    const std::wstring target = L"\\Registry\\Machine\\Software\\OrvaneNoSuchTarget";
    ASSERT_EQ(::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                               static_cast<DWORD>(target.size() * sizeof(wchar_t))), ERROR_SUCCESS);
    ::RegCloseKey(link);

    EXPECT_FALSE(base.DeleteTree(L"child"));
    EXPECT_TRUE(RegistryKey(base, L"child", true, false).IsOpen());
}

}  // namespace
