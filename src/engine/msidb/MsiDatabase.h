#pragma once
// A thin layer over the Windows Installer database functions, used to bake
// the transforms of the command line into a package before it runs, and to
// bring along the files those transforms add.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>
#include <variant>
#include <vector>

// An open database. Changes made through it are committed when it is
// destroyed.
class ICBSMSIDatabase {
public:
    // Direct mode; create makes a new database. A failed open leaves Handle() 0.
    ICBSMSIDatabase(const std::wstring& path, bool create);
    virtual ~ICBSMSIDatabase();
    ICBSMSIDatabase(const ICBSMSIDatabase&) = delete;
    ICBSMSIDatabase& operator=(const ICBSMSIDatabase&) = delete;

    MSIHANDLE Handle() const { return database_; }
    // The system's text for a failed open; empty otherwise.
    const std::wstring& OpenErrorText() const { return openError_; }

    // Applies each transform of the list in order ("@" or "|" in front is
    // dropped; one stored inside the package, ":name", cannot be applied and
    // ends the list with false), then copies every file the transforms add to
    // the File table from sourceFolder to targetFolder: an uncompressed file
    // itself, a compressed one's cabinet. False when a transform could not be
    // applied or a file could not be brought along; the transforms applied so
    // far stay applied either way.
    bool ApplyTransforms(const std::vector<std::wstring>& transforms, const std::wstring& sourceFolder,
                         const std::wstring& targetFolder);

private:
    std::wstring path_;
    MSIHANDLE database_ = 0;
    MSIHANDLE summary_ = 0;
    bool summaryChanged_ = false;
    bool commit_;
    bool ownsHandle_;
    std::wstring openError_;
};

// An open view and its parameter record.
class ICBSMSIDatabaseSQLStatement {
public:
    ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql);
    virtual ~ICBSMSIDatabaseSQLStatement();
    ICBSMSIDatabaseSQLStatement(const ICBSMSIDatabaseSQLStatement&) = delete;
    ICBSMSIDatabaseSQLStatement& operator=(const ICBSMSIDatabaseSQLStatement&) = delete;

    // The last Windows Installer result of opening or executing the view.
    UINT Status() const { return status_; }

protected:
    MSIHANDLE database_;
    MSIHANDLE view_ = 0;
    UINT status_;
    MSIHANDLE parameters_ = 0;
};

using QueryValue = std::variant<std::wstring, int>;

// A statement executed at construction and read row by row.
class ICBSMSIDatabaseQuery : public ICBSMSIDatabaseSQLStatement {
public:
    // format: a sequence of "%s" and "%d", one per value, in order; without
    // format the view runs without parameters. A format that does not match
    // the values runs nothing (status ERROR_INVALID_PARAMETER).
    ICBSMSIDatabaseQuery(MSIHANDLE database, const std::wstring& sql, const wchar_t* format = nullptr,
                         const std::vector<QueryValue>& values = {});
    ~ICBSMSIDatabaseQuery() override;

    // The next row; false when none is left or the view is not open.
    bool Fetch();
    // A column of the current row (from 1); empty / 0 without a current row.
    std::wstring GetString(unsigned column) const;
    int GetInteger(unsigned column) const;

private:
    MSIHANDLE row_ = 0;
};

// The entries of a TRANSFORMS= value, split at ";" (empty entries dropped).
std::vector<std::wstring> SplitTransformList(const std::wstring& value);
