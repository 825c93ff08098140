// The database layer on real packages and transforms made at build time by
// our transform generator: a base package with two Media rows (LastSequence
// 10 and 20, the second "disk2.cab"), one transform adding an uncompressed
// file (loose.txt) and one adding a compressed file with sequence 12.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "TestFiles.h"
#include "engine/msidb/MsiDatabase.h"
#include "base/VEZAFileUtilities.h"

namespace {

// The transform tests' fixtures, as a Windows path (drive Z: is /).
std::wstring FixtureFolder() {
    const char* dir = std::getenv("ORVANE_TRANSFORM_DIR");
    std::wstring path = L"Z:";
    for (const char* c = dir ? dir : ""; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

// Whether the package's File table has the row, read through a fresh handle.
bool HasFileRow(const std::wstring& package, const std::wstring& key) {
    MSIHANDLE database = 0;
    if (::MsiOpenDatabaseW(package.c_str(), MSIDBOPEN_READONLY, &database) != ERROR_SUCCESS) return false;
    bool found;
    {
        ICBSMSIDatabaseQuery query(database, L"SELECT * FROM File WHERE File=?", L"%s", {key});
        found = query.Fetch();
    }
    ::MsiCloseHandle(database);
    return found;
}

class MsiDatabaseTest : public testing::Test {
protected:
    void SetUp() override {
        fixtures = FixtureFolder();
        ASSERT_TRUE(VEZAFileUtilities::Exists(fixtures + L"\\cmdline_base.msi")) << "transform fixtures missing";
        source = testfiles::TempPath(L"orvane-db-source");
        target = testfiles::TempPath(L"orvane-db-target");
        VEZAFileUtilities::DeleteFolderTree(source);
        VEZAFileUtilities::DeleteFolderTree(target);
        ASSERT_TRUE(VEZAFileUtilities::CreateFolder(source, false));
        ASSERT_TRUE(VEZAFileUtilities::CreateFolder(target, false));
        for (const wchar_t* name : {L"add_uncompressed.mst", L"add_compressed.mst"}) {
            ASSERT_TRUE(VEZAFileUtilities::CopyFileTo(fixtures + L"\\" + name, source + L"\\" + name, false));
        }
        testfiles::WriteBytes(source + L"\\loose.txt", "a file beside the package\r\n");
        testfiles::WriteBytes(source + L"\\disk2.cab", "the second disk's cabinet");
        package = target + L"\\package.msi";
        ASSERT_TRUE(VEZAFileUtilities::CopyFileTo(fixtures + L"\\cmdline_base.msi", package, false));
    }
    void TearDown() override {
        VEZAFileUtilities::DeleteFolderTree(source);
        VEZAFileUtilities::DeleteFolderTree(target);
    }
    bool Apply(const std::wstring& list) {
        ICBSMSIDatabase database(package, false);
        EXPECT_NE(database.Handle(), 0u);
        return database.ApplyTransforms(SplitTransformList(list), source, target);
    }

    std::wstring fixtures, source, target, package;
};

TEST_F(MsiDatabaseTest, AnAddedUncompressedFileIsBroughtAlong) {
    EXPECT_TRUE(Apply(source + L"\\add_uncompressed.mst"));
    EXPECT_TRUE(HasFileRow(package, L"LooseFile"));
    EXPECT_EQ(testfiles::ReadBytes(target + L"\\loose.txt"), "a file beside the package\r\n");
    EXPECT_FALSE(VEZAFileUtilities::Exists(target + L"\\disk2.cab"));

    // Already there: the copy fails, the transform stays applied and committed.
    ASSERT_TRUE(VEZAFileUtilities::CopyFileTo(fixtures + L"\\cmdline_base.msi", package, false));
    EXPECT_FALSE(Apply(source + L"\\add_uncompressed.mst"));
    EXPECT_TRUE(HasFileRow(package, L"LooseFile"));
}

TEST_F(MsiDatabaseTest, AnAddedCompressedFileBringsTheCabinetOfItsDisk) {
    EXPECT_TRUE(Apply(source + L"\\add_compressed.mst"));
    EXPECT_TRUE(HasFileRow(package, L"PackedFile"));
    EXPECT_EQ(testfiles::ReadBytes(target + L"\\disk2.cab"), "the second disk's cabinet");
    EXPECT_FALSE(VEZAFileUtilities::Exists(target + L"\\loose.txt"));
}

TEST_F(MsiDatabaseTest, TransformLists) {
    // "@" in front is dropped; both are applied in order.
    EXPECT_TRUE(Apply(source + L"\\add_uncompressed.mst;@" + source + L"\\add_compressed.mst"));
    EXPECT_TRUE(HasFileRow(package, L"LooseFile"));
    EXPECT_TRUE(HasFileRow(package, L"PackedFile"));
    EXPECT_TRUE(VEZAFileUtilities::Exists(target + L"\\loose.txt"));
    EXPECT_TRUE(VEZAFileUtilities::Exists(target + L"\\disk2.cab"));

    // A transform stored inside the package cannot be applied: nothing is.
    ASSERT_TRUE(VEZAFileUtilities::CopyFileTo(fixtures + L"\\cmdline_base.msi", package, false));
    EXPECT_FALSE(Apply(L":inner.mst;" + source + L"\\add_uncompressed.mst"));
    EXPECT_FALSE(HasFileRow(package, L"LooseFile"));

    // A transform that cannot be applied stops the list; the ones before it stay.
    EXPECT_FALSE(Apply(source + L"\\add_uncompressed.mst;" + source + L"\\missing.mst;" + source + L"\\add_compressed.mst"));
    EXPECT_TRUE(HasFileRow(package, L"LooseFile"));
    EXPECT_FALSE(HasFileRow(package, L"PackedFile"));

    EXPECT_EQ(SplitTransformList(L"a.mst;;@b.mst;"), (std::vector<std::wstring>{L"a.mst", L"@b.mst"}));
}

TEST_F(MsiDatabaseTest, QueriesWithParameters) {
    ICBSMSIDatabase database(package, false);
    ASSERT_NE(database.Handle(), 0u);
    {
        ICBSMSIDatabaseQuery query(database.Handle(), L"SELECT LastSequence, Cabinet FROM Media WHERE DiskId=?", L"%d", {2});
        EXPECT_EQ(query.Status(), static_cast<UINT>(ERROR_SUCCESS));
        ASSERT_TRUE(query.Fetch());
        EXPECT_EQ(query.GetInteger(1), 20);
        EXPECT_EQ(query.GetString(2), L"disk2.cab");
        EXPECT_FALSE(query.Fetch());
        EXPECT_EQ(query.GetString(2), L"");
        EXPECT_EQ(query.GetInteger(1), 0);
    }
    // A value of the wrong type for its code runs nothing.
    ICBSMSIDatabaseQuery wrong(database.Handle(), L"SELECT * FROM Media WHERE DiskId=?", L"%s", {2});
    EXPECT_EQ(wrong.Status(), static_cast<UINT>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(wrong.Fetch());
    ICBSMSIDatabaseQuery bad(database.Handle(), L"SELECT * FROM Nowhere");
    EXPECT_NE(bad.Status(), static_cast<UINT>(ERROR_SUCCESS));
    EXPECT_FALSE(bad.Fetch());
    EXPECT_EQ(ICBSMSIDatabaseQuery(0, L"SELECT * FROM Media").Status(), static_cast<UINT>(ERROR_BADDB));

    ICBSMSIDatabase missing(target + L"\\nowhere.msi", false);
    EXPECT_EQ(missing.Handle(), 0u);
}

}  // namespace
