#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/ResourceAccess.h"

namespace {

TEST(ResourceAccess, LanguageLookupsNeverFallBack) {
    const ResourceModule module;
    EXPECT_TRUE(module.Exists(kResourceTypeCatalogue, L"PACKAGE_0_1031", L""));
    EXPECT_TRUE(module.Exists(kResourceTypeCatalogue, L"PACKAGE_0_1031", L"1033"));
    EXPECT_FALSE(module.Exists(kResourceTypeCatalogue, L"PACKAGE_0_1031", L"1031"));
    EXPECT_FALSE(module.Find(kResourceTypeCatalogue, L"ONLY_IN_GERMAN", 1033, false).has_value());
    EXPECT_FALSE(module.Exists(kResourceTypeCatalogue, L"MISSING", L""));

    auto view = module.Find(kResourceTypeCatalogue, L"ONLY_IN_GERMAN", 1031, true);
    ASSERT_TRUE(view.has_value());
    ASSERT_GE(view->size(), 14u);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(view->data()), 7), L"deutsch");
}

TEST(ResourceAccess, LanguageIdTexts) {
    const std::vector<std::pair<std::wstring, LANGID>> cases = {
        {L"1031", 1031}, {L"1034", 1034}, {L"1036", 1036}, {L"1041", 1041},
        {L"1033", 1033}, {L"2057", 1033}, {L"", 1033}, {L"1031 ", 1033}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(LangIdFromText(text), expected) << "text '" << std::string(text.begin(), text.end()) << "'";
}

// A string-table block as the resource compiler lays it out.
std::vector<uint8_t> Block(const std::vector<std::wstring>& strings) {
    std::vector<uint8_t> bytes;
    for (const auto& s : strings) {
        bytes.push_back(static_cast<uint8_t>(s.size()));
        bytes.push_back(static_cast<uint8_t>(s.size() >> 8));
        for (wchar_t c : s) {
            bytes.push_back(static_cast<uint8_t>(c));
            bytes.push_back(static_cast<uint8_t>(c >> 8));
        }
    }
    return bytes;
}

TEST(ResourceAccess, StringTableBlockWalk) {
    std::vector<std::wstring> strings(16);
    strings[0] = L"first";
    strings[13] = L"Warnung";
    strings[15] = L"last";
    const auto block = Block(strings);
    EXPECT_EQ(StringFromTableBlock(block.data(), block.size(), 0), L"first");
    EXPECT_EQ(StringFromTableBlock(block.data(), block.size(), 13), L"Warnung");
    EXPECT_EQ(StringFromTableBlock(block.data(), block.size(), 15), L"last");
    EXPECT_EQ(StringFromTableBlock(block.data(), block.size(), 5), L"");
    EXPECT_EQ(StringFromTableBlock(block.data(), block.size(), 16), L"");
    // A block cut short (a damaged resource) yields empty text, no overrun.
    EXPECT_EQ(StringFromTableBlock(block.data(), 9, 13), L"");
    EXPECT_EQ(StringFromTableBlock(block.data(), 5, 0), L"");
}

TEST(ResourceAccess, FileVersion) {
    EXPECT_EQ(GetFileVersionText(GetOwnModulePath()), ORVANE_VERSION_TEXT);

    wchar_t folder[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring plain = std::wstring(folder) + L"orvane-no-version.txt";
    FILE* f = _wfopen(plain.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not an executable", f);
    std::fclose(f);
    EXPECT_EQ(GetFileVersionText(plain), L"");
    ::DeleteFileW(plain.c_str());
    EXPECT_EQ(GetFileVersionText(L"C:\\does\\not\\exist.exe"), L"");
}

}  // namespace
