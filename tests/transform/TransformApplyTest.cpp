// The generated transforms under Wine's msi.dll: applied to the base package
// they give the target's tables row for row; in view mode they list their
// rows in _TransformView; and an install with TRANSFORMS= carries the
// localized product name.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The folder the build made the packages and transforms in (a Unix path
// from the test environment, reached through Wine's Z: drive).
std::wstring FixturePath(const std::wstring& name) {
    const char* dir = std::getenv("ORVANE_TRANSFORM_DIR");
    std::wstring path = L"Z:";
    for (const char* p = dir ? dir : ""; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path + L"\\" + name;
}

class Handle {
public:
    Handle() = default;
    explicit Handle(MSIHANDLE h) : h_(h) {}
    Handle(Handle&& o) noexcept : h_(o.h_) { o.h_ = 0; }
    Handle& operator=(Handle&& o) noexcept { std::swap(h_, o.h_); return *this; }
    Handle(const Handle&) = delete;
    ~Handle() { if (h_) ::MsiCloseHandle(h_); }
    MSIHANDLE get() const { return h_; }
    MSIHANDLE* out() { return &h_; }
private:
    MSIHANDLE h_ = 0;
};

std::wstring FieldText(MSIHANDLE rec, UINT field) {
    if (::MsiRecordIsNull(rec, field)) return L"<null>";
    DWORD size = 0;
    wchar_t empty[1] = {};
    UINT r = ::MsiRecordGetStringW(rec, field, empty, &size);
    if (r == ERROR_MORE_DATA || size > 0) {
        std::wstring text(size + 1, L'\0');
        size += 1;
        r = ::MsiRecordGetStringW(rec, field, text.data(), &size);
        text.resize(size);
        if (r == ERROR_SUCCESS) return text;
    }
    if (r == ERROR_SUCCESS) return L"";
    // A stream field: its bytes stand for it.
    std::wstring bytes = L"<stream:";
    char buf[4096];
    for (DWORD n = sizeof buf; ::MsiRecordReadStream(rec, field, buf, &n) == ERROR_SUCCESS && n > 0; n = sizeof buf)
        for (DWORD i = 0; i < n; ++i) bytes += static_cast<wchar_t>(static_cast<unsigned char>(buf[i]));
    return bytes + L">";
}

std::vector<std::vector<std::wstring>> Query(MSIHANDLE db, const std::wstring& sql) {
    std::vector<std::vector<std::wstring>> rows;
    Handle view;
    if (::MsiDatabaseOpenViewW(db, sql.c_str(), view.out()) != ERROR_SUCCESS) return rows;
    if (::MsiViewExecute(view.get(), 0) != ERROR_SUCCESS) return rows;
    for (Handle rec; ::MsiViewFetch(view.get(), rec.out()) == ERROR_SUCCESS; rec = Handle()) {
        std::vector<std::wstring> row;
        for (UINT i = 1, n = ::MsiRecordGetFieldCount(rec.get()); i <= n; ++i) row.push_back(FieldText(rec.get(), i));
        rows.push_back(row);
    }
    return rows;
}

// Every table of a database: name -> its rows, sorted.
std::map<std::wstring, std::vector<std::vector<std::wstring>>> AllTables(MSIHANDLE db) {
    std::map<std::wstring, std::vector<std::vector<std::wstring>>> tables;
    for (auto& row : Query(db, L"SELECT `Name` FROM `_Tables`")) {
        auto rows = Query(db, L"SELECT * FROM `" + row[0] + L"`");
        std::sort(rows.begin(), rows.end());
        tables[row[0]] = rows;
    }
    return tables;
}

Handle OpenCopy(const std::wstring& package, const std::wstring& copyName) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring copy = std::wstring(folder) + copyName;
    ::CopyFileW(FixturePath(package).c_str(), copy.c_str(), FALSE);
    Handle db;
    ::MsiOpenDatabaseW(copy.c_str(), MSIDBOPEN_TRANSACT, db.out());
    return db;
}

Handle OpenReadOnly(const std::wstring& package) {
    Handle db;
    ::MsiOpenDatabaseW(FixturePath(package).c_str(), MSIDBOPEN_READONLY, db.out());
    return db;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

struct Case {
    const wchar_t* transform;
    const wchar_t* base;
    const wchar_t* target;
};
void PrintTo(const Case& c, std::ostream* os) { *os << Narrow(c.transform); }

const Case kCases[] = {
    {L"lingua_de.mst", L"lingua_en.msi", L"lingua_de.msi"},
    {L"lingua_es.mst", L"lingua_en.msi", L"lingua_es.msi"},
    {L"lingua_fr.mst", L"lingua_en.msi", L"lingua_fr.msi"},
    {L"lingua_ja.mst", L"lingua_en.msi", L"lingua_ja.msi"},
    {L"add_uncompressed.mst", L"cmdline_base.msi", L"cmdline_uncompressed.msi"},
    {L"add_compressed.mst", L"cmdline_base.msi", L"cmdline_compressed.msi"},
};

class ApplyTransform : public ::testing::TestWithParam<Case> {};

TEST_P(ApplyTransform, GivesTheTargetTablesRowForRow) {
    const Case& c = GetParam();
    Handle target = OpenReadOnly(c.target);
    Handle db = OpenCopy(c.base, L"orvane-apply.msi");
    ASSERT_NE(target.get(), 0u);
    ASSERT_NE(db.get(), 0u);
    const auto wanted = AllTables(target.get());
    ASSERT_NE(AllTables(db.get()), wanted) << "base and target must differ for the check to mean something";

    ASSERT_EQ(::MsiDatabaseApplyTransformW(db.get(), FixturePath(c.transform).c_str(), 0), UINT(ERROR_SUCCESS));

    const auto applied = AllTables(db.get());
    for (auto& [name, rows] : wanted) {
        auto it = applied.find(name);
        ASSERT_NE(it, applied.end()) << "missing table";
        EXPECT_EQ(it->second, rows) << "table " << std::string(name.begin(), name.end());
    }
    EXPECT_EQ(applied.size(), wanted.size());
}

INSTANTIATE_TEST_SUITE_P(Generated, ApplyTransform, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::wstring n = info.param.transform;
                             return std::string(n.begin(), n.end() - 4);
                         });

// In view mode the transform changes nothing and lists what it would do.
struct ViewCase {
    const wchar_t* transform;
    const wchar_t* base;
    std::vector<std::vector<std::wstring>> expected;  // Table, Column, Row, Data, Current
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << Narrow(c.transform); }

class ViewTransform : public ::testing::TestWithParam<ViewCase> {};

TEST_P(ViewTransform, ListsItsRowsInTransformView) {
    const ViewCase& c = GetParam();
    Handle db = OpenCopy(c.base, L"orvane-view.msi");
    ASSERT_NE(db.get(), 0u);
    const auto before = AllTables(db.get());
    ASSERT_EQ(::MsiDatabaseApplyTransformW(db.get(), FixturePath(c.transform).c_str(), MSITRANSFORM_ERROR_VIEWTRANSFORM),
              UINT(ERROR_SUCCESS));
    auto listed = Query(db.get(), L"SELECT `Table`, `Column`, `Row`, `Data`, `Current` FROM `_TransformView`");
    for (auto& row : c.expected)
        EXPECT_NE(std::find(listed.begin(), listed.end(), row), listed.end())
            << "not listed: " << std::string(row[0].begin(), row[0].end()) << " " << std::string(row[1].begin(), row[1].end())
            << " " << std::string(row[2].begin(), row[2].end());
    auto after = AllTables(db.get());
    after.erase(L"_TransformView");
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Generated, ViewTransform,
    ::testing::Values(
        ViewCase{L"lingua_de.mst", L"lingua_en.msi",
                 {{L"Property", L"Value", L"ProductName", L"Markwell Lingua (Deutsch)", L"Markwell Lingua"},
                  {L"Property", L"Value", L"ProductLanguage", L"1031", L"1033"},
                  {L"UIText", L"Text", L"AbsentPath", L"Nicht verf\u00fcgbar", L"Not available"},
                  {L"UIText", L"DELETE", L"Legacy", L"<null>", L"<null>"},
                  {L"UIText", L"INSERT", L"GermanOnly", L"<null>", L"<null>"},
                  {L"UIText", L"Text", L"GermanOnly", L"Gr\u00f6\u00dfe", L"<null>"}}},
        ViewCase{L"lingua_ja.mst", L"lingua_en.msi",
                 {{L"Property", L"Value", L"ProductName", L"\u30DE\u30FC\u30AF\u30A6\u30A7\u30EB \u30EA\u30F3\u30AC",
                   L"Markwell Lingua"},
                  {L"UIText", L"Text", L"bytes", L"\u30D0\u30A4\u30C8", L"bytes"}}},
        ViewCase{L"add_uncompressed.mst", L"cmdline_base.msi",
                 {{L"File", L"INSERT", L"LooseFile", L"<null>", L"<null>"},
                  {L"File", L"Attributes", L"LooseFile", L"8192", L"<null>"},
                  {L"File", L"Sequence", L"LooseFile", L"2", L"<null>"}}},
        ViewCase{L"add_compressed.mst", L"cmdline_base.msi",
                 {{L"File", L"INSERT", L"PackedFile", L"<null>", L"<null>"},
                  {L"File", L"Attributes", L"PackedFile", L"16384", L"<null>"},
                  {L"File", L"Sequence", L"PackedFile", L"12", L"<null>"}}}),
    [](const auto& info) {
        std::wstring n = info.param.transform;
        return std::string(n.begin(), n.end() - 4);
    });

// A real install of the English base package with a generated transform.
constexpr wchar_t kProductCode[] = L"{5A1E7C3B-2D4F-4E60-9B71-C8D9E0F1A201}";

std::wstring ProductInfo(const wchar_t* property) {
    wchar_t value[512] = {};
    DWORD size = 512;
    if (::MsiGetProductInfoW(kProductCode, property, value, &size) != ERROR_SUCCESS) return L"<none>";
    return value;
}

struct InstallCase {
    const wchar_t* transform;
    const wchar_t* productName;
    const wchar_t* language;
    bool embedded;  // carried in the package as a sub-storage and named ":name"
};
void PrintTo(const InstallCase& c, std::ostream* os) { *os << Narrow(c.transform) << (c.embedded ? " embedded" : ""); }

// A copy of the base package that carries the transform as a sub-storage.
// Windows Installer checks such a transform against its summary (product,
// version, upgrade code, language) and skips it when it does not fit.
std::wstring PackageWithEmbeddedTransform(const std::wstring& transform, const std::wstring& storage) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring copy = std::wstring(folder) + L"orvane-embedded.msi";
    ::CopyFileW(FixturePath(L"lingua_en.msi").c_str(), copy.c_str(), FALSE);
    Handle db, view, rec(::MsiCreateRecord(2));
    if (::MsiOpenDatabaseW(copy.c_str(), MSIDBOPEN_TRANSACT, db.out()) != ERROR_SUCCESS) return L"";
    ::MsiRecordSetStringW(rec.get(), 1, storage.c_str());
    ::MsiRecordSetStreamW(rec.get(), 2, FixturePath(transform).c_str());
    if (::MsiDatabaseOpenViewW(db.get(), L"INSERT INTO `_Storages` (`Name`, `Data`) VALUES (?, ?)", view.out()) != ERROR_SUCCESS ||
        ::MsiViewExecute(view.get(), rec.get()) != ERROR_SUCCESS || ::MsiDatabaseCommit(db.get()) != ERROR_SUCCESS)
        return L"";
    return copy;
}

class InstallWithTransform : public ::testing::TestWithParam<InstallCase> {
protected:
    void SetUp() override {
        ::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
        if (::MsiQueryProductStateW(kProductCode) == INSTALLSTATE_DEFAULT)
            ::MsiConfigureProductW(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    }
    void TearDown() override {
        if (::MsiQueryProductStateW(kProductCode) == INSTALLSTATE_DEFAULT)
            ::MsiConfigureProductW(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    }
};

TEST_P(InstallWithTransform, InstalledProductCarriesTheLocalizedName) {
    const InstallCase& c = GetParam();
    std::wstring package = FixturePath(L"lingua_en.msi");
    std::wstring transforms = L"\"" + FixturePath(c.transform) + L"\"";
    if (c.embedded) {
        package = PackageWithEmbeddedTransform(c.transform, L"localized");
        ASSERT_FALSE(package.empty());
        transforms = L":localized";
    }
    const std::wstring command = L"TRANSFORMS=" + transforms + L" REBOOT=ReallySuppress";
    ASSERT_EQ(::MsiInstallProductW(package.c_str(), command.c_str()), UINT(ERROR_SUCCESS));
    EXPECT_EQ(::MsiQueryProductStateW(kProductCode), INSTALLSTATE_DEFAULT);
    EXPECT_EQ(ProductInfo(INSTALLPROPERTY_PRODUCTNAME), c.productName);
    EXPECT_EQ(ProductInfo(INSTALLPROPERTY_LANGUAGE), c.language);
    EXPECT_EQ(::MsiConfigureProductW(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT), UINT(ERROR_SUCCESS));
    EXPECT_EQ(::MsiQueryProductStateW(kProductCode), INSTALLSTATE_UNKNOWN);
}

INSTANTIATE_TEST_SUITE_P(
    Generated, InstallWithTransform,
    ::testing::Values(InstallCase{L"lingua_de.mst", L"Markwell Lingua (Deutsch)", L"1031", false},
                      InstallCase{L"lingua_ja.mst", L"\u30DE\u30FC\u30AF\u30A6\u30A7\u30EB \u30EA\u30F3\u30AC", L"1041", false},
                      InstallCase{L"lingua_de.mst", L"Markwell Lingua (Deutsch)", L"1031", true}),
    [](const auto& info) {
        std::wstring n = info.param.transform;
        return std::string(n.begin(), n.end() - 4) + (info.param.embedded ? "_embedded" : "");
    });

}  // namespace
