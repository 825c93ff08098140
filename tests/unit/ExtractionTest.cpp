// Unpacking packages from real cabinets in this program's resources (made by
// gcab from a wixl package at build time) into the machine's package cache.
#include <windows.h>
#include <fcntl.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>
#include <wtypes.h>

#include "ExtractionTestSupport.h"
#include "app/SetupResult.h"
#include "base/ResourceAccess.h"

namespace extraction_test {
namespace {

std::vector<std::unique_ptr<SetupPackage>> One(const PackageFacts& facts) {
    std::vector<std::unique_ptr<SetupPackage>> packages;
    packages.push_back(std::make_unique<SetupPackage>(facts, true, CommandLine({}), false));
    return packages;
}

size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(ExtractionTest, UnpacksOnceThenUsesTheVerifiedCache) {
    auto packages = One(Facts(code, L"PACKAGE_7"));
    SetupPackage& first = *packages.front();
    EXPECT_EQ(first.PackageFile(), L"");
    const auto view = ResourceModule().Find(kResourceTypeCatalogue, L"PACKAGE_7", 0x0409, false);
    ASSERT_TRUE(view);
    const auto list = BuildExtractionList(packages, false);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].size, view->size() - 4);

    RecordingSink sink;
    ASSERT_EQ(ExtractPackage(first, &sink, English()), 0);
    EXPECT_EQ(first.PackageFile(), folder + L"\\product.msi");
    EXPECT_EQ(PackageCodeOfFile(first.PackageFile()), code);
    EXPECT_EQ(sink.lastBytes, static_cast<int>(view->size() - 4));
    EXPECT_EQ(sink.lastPercent, 100);
    EXPECT_EQ(first.LanguageTransformName(), L"");
    EXPECT_TRUE(BuildExtractionList(packages, false).empty());

    // While the package holds its file, nobody can change or replace it.
    HANDLE writer = ::CreateFileW(first.PackageFile().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
    EXPECT_FALSE(::DeleteFileW(first.PackageFile().c_str()));
    packages.clear();

    // A later run finds the one package file and unpacks nothing.
    auto again = One(Facts(code, L"PACKAGE_7"));
    EXPECT_EQ(again.front()->PackageFile(), folder + L"\\product.msi");
    EXPECT_TRUE(BuildExtractionList(again, false).empty());
    EXPECT_EQ(ExtractPackage(*again.front(), nullptr, English()), 0);
    EXPECT_EQ(Count(LogText(), L"QVR (c): Extracting resource: PACKAGE_7\r\n"), 1u);
    again.clear();

    // Two package files: unpacked again, and still no single package file.
    ASSERT_TRUE(VEZAFileUtilities::CopyFileTo(folder + L"\\product.msi", folder + L"\\other.msi", true));
    auto two = One(Facts(code, L"PACKAGE_7"));
    EXPECT_EQ(two.front()->PackageFile(), L"");
    EXPECT_EQ(ExtractPackage(*two.front(), nullptr, English()), 0);
    EXPECT_EQ(Count(LogText(), L"QVR (c): Extracting resource: PACKAGE_7\r\n"), 2u);
    EXPECT_EQ(two.front()->PackageFile(), L"");
}

TEST_F(ExtractionTest, APlantedPackageIsRefusedAndReplaced) {
    // A real package, but not this one: its package code differs.
    ASSERT_TRUE(VEZAFileUtilities::CreateFolder(folder, false));
    {
        auto packages = One(Facts(code, L"PACKAGE_7"));
        ASSERT_EQ(ExtractPackage(*packages.front(), nullptr, English()), 0);
    }
    const std::wstring planted = folder + L"\\planted.msi";
    ASSERT_TRUE(::MoveFileW((folder + L"\\product.msi").c_str(), planted.c_str()));
    MSIHANDLE database = 0, summary = 0;
    ASSERT_EQ(::MsiOpenDatabaseW(planted.c_str(), MSIDBOPEN_TRANSACT, &database), static_cast<UINT>(ERROR_SUCCESS));
    ASSERT_EQ(::MsiGetSummaryInformationW(database, nullptr, 1, &summary), static_cast<UINT>(ERROR_SUCCESS));
    ASSERT_EQ(::MsiSummaryInfoSetPropertyW(summary, PID_REVNUMBER, VT_LPSTR, 0, nullptr, L"{0BADC0DE-0000-4000-8000-000000000001}"),
              static_cast<UINT>(ERROR_SUCCESS));
    ASSERT_EQ(::MsiSummaryInfoPersist(summary), static_cast<UINT>(ERROR_SUCCESS));
    ::MsiCloseHandle(summary);
    ASSERT_EQ(::MsiDatabaseCommit(database), static_cast<UINT>(ERROR_SUCCESS));
    ::MsiCloseHandle(database);
    ASSERT_EQ(PackageCodeOfFile(planted), L"{0BADC0DE-0000-4000-8000-000000000001}");

    auto packages = One(Facts(code, L"PACKAGE_7"));
    SetupPackage& package = *packages.front();
    EXPECT_EQ(package.PackageFile(), L"");
    EXPECT_EQ(package.RefusedCacheFile(), planted);
    EXPECT_FALSE(VEZAFileUtilities::Exists(planted));
    ASSERT_EQ(ExtractPackage(package, nullptr, English()), 0);
    EXPECT_EQ(MsiFiles(folder), std::vector<std::wstring>{folder + L"\\product.msi"});
    EXPECT_EQ(package.PackageFile(), folder + L"\\product.msi");
}

TEST_F(ExtractionTest, AnEntryInAFolderLandsInTheCacheFolder) {
    auto packages = One(Facts(code, L"PACKAGE_8"));
    ASSERT_EQ(ExtractPackage(*packages.front(), nullptr, English()), 0);
    EXPECT_EQ(packages.front()->PackageFile(), folder + L"\\p.msi");
    EXPECT_FALSE(VEZAFileUtilities::Exists(folder + L"\\sub"));
}

TEST_F(ExtractionTest, ACabinetFileNamedByTheWorkload) {
    const std::wstring own = GetOwnModulePath();
    const std::wstring cabinet = own.substr(0, own.rfind(L'\\')) + L"\\package_resources\\good.cab";
    auto packages = One(Facts(code, cabinet));
    const auto list = BuildExtractionList(packages, false);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].size, VEZAFileUtilities::FileSize(cabinet));
    ASSERT_EQ(ExtractPackage(*packages.front(), nullptr, English()), 0);
    EXPECT_EQ(packages.front()->PackageFile(), folder + L"\\product.msi");
}

TEST_F(ExtractionTest, LanguageTransformAndRepair) {
    struct Case {
        const char* label;
        ExtractionSettings settings;
        std::wstring transform;
    } cases[] = {{"German install", German(), L"Transform_de.mst"}, {"English", English(), L""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        VEZAFileUtilities::DeleteFolderTree(folder);
        auto packages = One(Facts(code, L"PACKAGE_7"));
        ASSERT_EQ(ExtractPackage(*packages.front(), nullptr, c.settings), 0);
        EXPECT_EQ(packages.front()->LanguageTransformName(), c.transform);
        EXPECT_EQ(VEZAFileUtilities::ListFiles(folder, L"*.mst").size(), c.transform.empty() ? 0u : 1u);
        if (!c.transform.empty()) {
            EXPECT_EQ(testfiles::ReadBytes(folder + L"\\" + c.transform), "German transform stand-in");
        }
    }
    // A package without transform in that language is no error.
    VEZAFileUtilities::DeleteFolderTree(folder);
    auto other = One(Facts(code, L"PACKAGE_8"));
    EXPECT_EQ(ExtractPackage(*other.front(), nullptr, German()), 0);
    EXPECT_EQ(other.front()->LanguageTransformName(), L"");

    // A repair needs no package file.
    VEZAFileUtilities::DeleteFolderTree(folder);
    EXPECT_TRUE(BuildExtractionList(One(Facts(code, L"PACKAGE_7")), true).empty());
}

TEST_F(ExtractionTest, MemoryStreamOverTheResource) {
    VEZACabinetExtractor extractor;
    ASSERT_TRUE(extractor.OpenResource("Package.cab", L"PACKAGE_7", folder));
    const auto view = ResourceModule().Find(kResourceTypeCatalogue, L"PACKAGE_7", 0x0409, false);
    const long length = static_cast<long>(view->size() - 4);
    char name[] = "Package.cab";
    const INT_PTR stream = cabinet_io::Open(name, _O_RDONLY | _O_BINARY, 0);
    ASSERT_NE(stream, 0);
    char buffer[16];
    EXPECT_EQ(cabinet_io::Read(stream, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "MSCF");
    EXPECT_EQ(cabinet_io::Seek(stream, -4, SEEK_END), length - 4);
    EXPECT_EQ(cabinet_io::Read(stream, buffer, sizeof buffer), 4u);
    EXPECT_EQ(cabinet_io::Read(stream, buffer, sizeof buffer), 0u);
    EXPECT_EQ(cabinet_io::Seek(stream, 2, SEEK_SET), 2);
    EXPECT_EQ(cabinet_io::Seek(stream, 3, SEEK_CUR), 5);
    EXPECT_EQ(cabinet_io::Seek(stream, -6, SEEK_CUR), -1);  // before the start: refused
    EXPECT_EQ(cabinet_io::Seek(stream, 100, SEEK_END), length + 100);
    EXPECT_EQ(cabinet_io::Read(stream, buffer, sizeof buffer), 0u);  // beyond the end: nothing
    EXPECT_EQ(cabinet_io::Write(stream, buffer, 4), 0u);
    EXPECT_EQ(cabinet_io::Close(stream), 0);
    EXPECT_EQ(cabinet_io::Close(stream), -1);

    // Four bytes of length 0: an empty stream.
    RecordingSink sink;
    ASSERT_TRUE(extractor.OpenResource("Package.cab", L"PACKAGE_10", folder));
    const INT_PTR empty = cabinet_io::Open(name, _O_RDONLY | _O_BINARY, 0);
    EXPECT_EQ(cabinet_io::Read(empty, buffer, sizeof buffer), 0u);
    EXPECT_EQ(cabinet_io::Seek(empty, 0, SEEK_END), 0);
    cabinet_io::Close(empty);
    EXPECT_FALSE(extractor.ExtractAll(&sink));
    EXPECT_EQ(sink.lastBytes, 0);
}

TEST_F(ExtractionTest, FailuresLeaveNoPackageFile) {
    auto damaged = One(Facts(code, L"PACKAGE_9"));
    EXPECT_EQ(ExtractPackage(*damaged.front(), nullptr, English()), 1620);
    EXPECT_TRUE(MsiFiles(folder).empty());
    EXPECT_EQ(damaged.front()->PackageFile(), L"");

    auto missing = One(Facts(code, L"PACKAGE_99"));  // neither a resource nor a file
    EXPECT_EQ(ExtractPackage(*missing.front(), nullptr, English()), 1620);
    EXPECT_EQ(ExtractPackage(*One(Facts(code, L"PACKAGE_10")).front(), nullptr, English()), 1620);
    EXPECT_TRUE(MsiFiles(folder).empty());
    EXPECT_EQ(LogText().find(L"ERROR"), std::wstring::npos);
}

TEST_F(ExtractionTest, AFullDiskGivesEleven) {
    // prepare_disk_full.sh made product.msi in this cache folder lead to
    // /dev/full, where every write fails with "disk full". (Wine cannot
    // remove a link to a device, so the link itself stays; that no partly
    // written file stays is shown by the damaged and cancelled runs.)
    const std::wstring fullCode = L"{D15CF011-0000-4000-8000-000000000011}";
    const std::wstring fullFolder = sharedDataFolder() + L"\\" + fullCode;
    ASSERT_EQ(MsiFiles(fullFolder).size(), 2u) << "run through ctest, which runs prepare_disk_full.sh first";
    auto packages = One(Facts(fullCode, L"PACKAGE_7"));
    EXPECT_EQ(ExtractPackage(*packages.front(), nullptr, English()), 11);
    EXPECT_TRUE(VEZACabinetExtractor::DiskFull());
    EXPECT_EQ(packages.front()->PackageFile(), L"");
    EXPECT_EQ(ResultMessageId(11), 1130u);
    EXPECT_EQ(app.Languages().LoadLanguageString(1130),
              L"There is not enough disk space left on your system to unpack this installer.");

    // The next extraction starts with a clear flag.
    auto good = One(Facts(code, L"PACKAGE_7"));
    EXPECT_EQ(ExtractPackage(*good.front(), nullptr, English()), 0);
    EXPECT_FALSE(VEZACabinetExtractor::DiskFull());
}

TEST_F(ExtractionTest, ExitDeletesTheFoldersOfPackagesNotInstalled) {
    auto packages = One(Facts(code, L"PACKAGE_7"));
    ASSERT_EQ(ExtractPackage(*packages.front(), nullptr, English()), 0);
    DeleteExtractedPackageFolders(packages);
    EXPECT_FALSE(VEZAFileUtilities::Exists(folder));
    const std::wstring text = LogText();
    EXPECT_NE(text.find(L"QVR (c): Deleting MSI folder " + folder + L"\r\nQVR (c): Deleted MSI folder " + folder + L"\r\n"),
              std::wstring::npos);
}

}  // namespace
}  // namespace extraction_test
