#include <gtest/gtest.h>

#include <string>

#include "base/FilePaths.h"

namespace {

TEST(FolderPath, ParsesRootsNamesAndDots) {
    struct Case {
        const wchar_t* text;
        bool valid;
        bool absolute;
        const wchar_t* root;
        const wchar_t* form;
    } cases[] = {
        {L"C:\\ProgramData\\Quelto", true, true, L"C:", L"C:\\ProgramData\\Quelto"},
        {L"C:/a//b/", true, true, L"C:", L"C:\\a\\b"},
        {L"C:\\", true, true, L"C:", L"C:\\"},
        {L"C:relative", false, false, L"C:", nullptr},  // a drive path must be absolute
        {L"\\\\server\\share\\x", true, true, L"\\\\server", L"\\\\server\\share\\x"},
        {L"//server/share", true, true, L"\\\\server", L"\\\\server\\share"},
        {L"\\Windows\\Temp", true, true, L"", L"\\Windows\\Temp"},
        {L"a\\b\\..\\c\\.\\d", true, false, L"", L"a\\c\\d"},
        {L"a\\..\\..\\b", false, false, L"", nullptr},  // ".." with nothing to remove
        {L"", true, false, L"", L""},
    };
    for (const Case& c : cases) {
        const VEZAFolderPath p(c.text);
        SCOPED_TRACE(std::string(c.text, c.text + wcslen(c.text)));
        EXPECT_EQ(p.IsValid(), c.valid);
        EXPECT_EQ(p.IsAbsolute(), c.absolute);
        EXPECT_EQ(p.Root(), c.root);
        if (c.form) EXPECT_EQ(p.Text(), c.form);
    }
}

TEST(FilePath, SplitsNamesAndMovesFolderParts) {
    const VEZAFilePath plain(VEZAFolderPath(L"C:\\Cache"), L"setup.tar.msi");
    EXPECT_EQ(plain.Text(), L"C:\\Cache\\setup.tar.msi");
    EXPECT_EQ(plain.BaseName(), L"setup.tar");
    EXPECT_EQ(plain.Extension(), L"msi");
    // A relative folder part is appended, an absolute one replaces the folder.
    EXPECT_EQ(VEZAFilePath(VEZAFolderPath(L"C:\\Cache"), L"sub\\p.msi").Text(), L"C:\\Cache\\sub\\p.msi");
    EXPECT_EQ(VEZAFilePath(VEZAFolderPath(L"C:\\Cache"), L"D:\\other\\p.msi").Text(), L"D:\\other\\p.msi");
    // A folder that is a bare root gets no second separator.
    EXPECT_EQ(VEZAFilePath(VEZAFolderPath(L"C:\\"), L"x.log").Text(), L"C:\\x.log");
    EXPECT_EQ(VEZAFilePath(L"README").Extension(), L"");
    EXPECT_EQ(VEZAFilePath(L"C:\\a\\b.txt").Folder().Text(), L"C:\\a");
}

}  // namespace
