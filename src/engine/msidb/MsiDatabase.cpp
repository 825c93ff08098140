#include "engine/msidb/MsiDatabase.h"

#include "base/VEZAFileUtilities.h"

namespace {

constexpr int kFileNotCompressed = 0x2000;
constexpr int kFileCompressed = 0x4000;

// The system's text for the last Windows Installer error of this thread.
std::wstring LastErrorText() {
    const MSIHANDLE record = ::MsiGetLastErrorRecord();
    if (!record) return {};
    std::wstring text(1024, L'\0');
    DWORD size = static_cast<DWORD>(text.size());
    if (::MsiFormatRecordW(0, record, text.data(), &size) != ERROR_SUCCESS) size = 0;
    ::MsiCloseHandle(record);
    text.resize(size < text.size() ? size : text.size());
    return text;
}

// The long name of a FileName column value ("SHORT~1.DAT|long name.dat").
// Empty when it is no plain file name.
std::wstring LongFileName(const std::wstring& value) {
    const size_t bar = value.find(L'|');
    const std::wstring name = bar == std::wstring::npos ? value : value.substr(bar + 1);
    if (name.empty() || name == L"." || name == L".." || name.find_first_of(L"\\/:") != std::wstring::npos) return {};
    return name;
}

}  // namespace

ICBSMSIDatabase::ICBSMSIDatabase(const std::wstring& path, bool create)
    : path_(path), commit_(create), ownsHandle_(true) {
    LPCWSTR mode = create ? MSIDBOPEN_CREATEDIRECT : MSIDBOPEN_DIRECT;
    if (::MsiOpenDatabaseW(path.c_str(), mode, &database_) != ERROR_SUCCESS) {
        database_ = 0;
        openError_ = LastErrorText();
    }
}

ICBSMSIDatabase::~ICBSMSIDatabase() {
    if (!ownsHandle_) return;
    if (summary_ && summaryChanged_) ::MsiSummaryInfoPersist(summary_);
    // A failed commit leaves the file as the direct mode wrote it.
    if (database_ && commit_ && ::MsiDatabaseCommit(database_) == ERROR_SUCCESS) commit_ = false;
    if (summary_) ::MsiCloseHandle(summary_);
    if (database_) ::MsiCloseHandle(database_);
}

bool ICBSMSIDatabase::ApplyTransforms(const std::vector<std::wstring>& transforms, const std::wstring& sourceFolder,
                                      const std::wstring& targetFolder) {
    if (!database_) return false;
    // First pass: each transform is recorded in _TransformView, to learn what
    // it adds, and then applied, so that the next one is seen against the
    // state it will meet.
    std::vector<std::wstring> paths;
    bool complete = true;
    for (const std::wstring& entry : transforms) {
        if (entry.empty()) continue;
        if (entry.front() == L':') {  // stored inside the package
            complete = false;
            break;
        }
        const std::wstring path = entry.front() == L'@' || entry.front() == L'|' ? entry.substr(1) : entry;
        if (::MsiDatabaseApplyTransformW(database_, path.c_str(), MSITRANSFORM_ERROR_VIEWTRANSFORM) != ERROR_SUCCESS ||
            ::MsiDatabaseApplyTransformW(database_, path.c_str(), 0) != ERROR_SUCCESS) {
            complete = false;
            break;
        }
        paths.push_back(path);
    }
    std::vector<std::wstring> addedFiles;
    if (complete) {
        ICBSMSIDatabaseQuery changes(database_, L"SELECT * FROM _TransformView");
        while (changes.Fetch()) {
            if (changes.GetString(1) == L"File" && changes.GetString(2) == L"INSERT") addedFiles.push_back(changes.GetString(3));
        }
    }

    // The rows a transform adds after it was viewed can lose their texts when
    // the database is saved (Wine's msi.dll reuses the texts the view left
    // behind without keeping them). So the changes that stay are made on a
    // fresh handle that has seen no view: the first pass is dropped unsaved
    // and the transforms that applied are applied once more.
    ::MsiCloseHandle(database_);
    database_ = 0;
    if (::MsiOpenDatabaseW(path_.c_str(), MSIDBOPEN_DIRECT, &database_) != ERROR_SUCCESS) {
        database_ = 0;
        return false;
    }
    for (const std::wstring& path : paths) {
        if (::MsiDatabaseApplyTransformW(database_, path.c_str(), 0) != ERROR_SUCCESS) return false;
        commit_ = true;
    }
    if (!complete) return false;

    bool result = true;
    const std::wstring source = sourceFolder + L"\\";
    const std::wstring target = targetFolder + L"\\";
    for (const std::wstring& key : addedFiles) {
        ICBSMSIDatabaseQuery file(database_, L"SELECT * FROM File WHERE File=?", L"%s", {key});
        if (!file.Fetch()) {
            result = false;
            continue;
        }
        const std::wstring name = LongFileName(file.GetString(3));
        const int attributes = file.GetInteger(7);
        const int sequence = file.GetInteger(8);
        if (name.empty()) {
            result = false;
        } else if (attributes & kFileNotCompressed) {
            if (!VEZAFileUtilities::CopyFileTo(source + name, target + name, true)) result = false;
        } else if (attributes & kFileCompressed) {
            ICBSMSIDatabaseQuery media(database_, L"SELECT LastSequence, Cabinet FROM Media");
            bool found = false;
            while (!found && media.Fetch()) {
                if (media.GetInteger(1) < sequence) continue;
                found = true;
                const std::wstring cabinet = media.GetString(2);
                if (!VEZAFileUtilities::CopyFileTo(source + cabinet, target + cabinet, true)) result = false;
            }
            if (!found) result = false;
        } else {
            result = false;
        }
    }
    return result;
}

ICBSMSIDatabaseSQLStatement::ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql)
    : database_(database), status_(ERROR_BADDB) {
    if (!database_) return;
    status_ = ::MsiDatabaseOpenViewW(database_, sql.c_str(), &view_);
    if (status_ != ERROR_SUCCESS) view_ = 0;
}

ICBSMSIDatabaseSQLStatement::~ICBSMSIDatabaseSQLStatement() {
    if (parameters_) ::MsiCloseHandle(parameters_);
    if (view_) {
        ::MsiViewClose(view_);
        ::MsiCloseHandle(view_);
    }
}

ICBSMSIDatabaseQuery::ICBSMSIDatabaseQuery(MSIHANDLE database, const std::wstring& sql, const wchar_t* format,
                                           const std::vector<QueryValue>& values)
    : ICBSMSIDatabaseSQLStatement(database, sql) {
    if (!view_) return;
    if (!format) {
        status_ = ::MsiViewExecute(view_, 0);
        return;
    }
    // Each code must name the type of its value.
    std::vector<wchar_t> codes;
    for (const wchar_t* p = format; *p; p += 2) {
        if (p[0] != L'%' || (p[1] != L's' && p[1] != L'd')) {
            status_ = ERROR_INVALID_PARAMETER;
            return;
        }
        codes.push_back(p[1]);
    }
    if (codes.size() != values.size()) {
        status_ = ERROR_INVALID_PARAMETER;
        return;
    }
    parameters_ = ::MsiCreateRecord(static_cast<UINT>(codes.size()));
    for (size_t i = 0; i < codes.size(); ++i) {
        const UINT field = static_cast<UINT>(i + 1);
        if (codes[i] == L's' && std::holds_alternative<std::wstring>(values[i])) {
            ::MsiRecordSetStringW(parameters_, field, std::get<std::wstring>(values[i]).c_str());
        } else if (codes[i] == L'd' && std::holds_alternative<int>(values[i])) {
            ::MsiRecordSetInteger(parameters_, field, std::get<int>(values[i]));
        } else {
            status_ = ERROR_INVALID_PARAMETER;
            return;
        }
    }
    status_ = ::MsiViewExecute(view_, parameters_);
}

ICBSMSIDatabaseQuery::~ICBSMSIDatabaseQuery() {
    if (row_) ::MsiCloseHandle(row_);
}

bool ICBSMSIDatabaseQuery::Fetch() {
    if (row_) {
        ::MsiCloseHandle(row_);
        row_ = 0;
    }
    if (!view_ || status_ != ERROR_SUCCESS) return false;
    if (::MsiViewFetch(view_, &row_) != ERROR_SUCCESS) {
        row_ = 0;
        return false;
    }
    return true;
}

std::wstring ICBSMSIDatabaseQuery::GetString(unsigned column) const {
    if (!row_) return {};
    std::wstring text(8192, L'\0');
    DWORD size = static_cast<DWORD>(text.size());
    if (::MsiRecordGetStringW(row_, column, text.data(), &size) != ERROR_SUCCESS) return {};
    text.resize(size);
    return text;
}

int ICBSMSIDatabaseQuery::GetInteger(unsigned column) const {
    if (!row_ || !view_) return 0;
    return ::MsiRecordGetInteger(row_, column);
}

std::vector<std::wstring> SplitTransformList(const std::wstring& value) {
    std::vector<std::wstring> list;
    size_t start = 0;
    while (start <= value.size()) {
        const size_t end = value.find(L';', start);
        const std::wstring entry = value.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!entry.empty()) list.push_back(entry);
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return list;
}
