#include "app/SetupPackage.h"

#include <windows.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>
#include <wtypes.h>

#include "base/TextUtil.h"
#include "base/VEZAFileUtilities.h"

bool IsBracedGuid(const std::wstring& text) {
    if (text.size() != 38 || text.front() != L'{' || text.back() != L'}') return false;
    for (size_t i = 1; i < 37; ++i) {
        const wchar_t c = text[i];
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (c != L'-') return false;
        } else if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'))) {
            return false;
        }
    }
    return true;
}

std::wstring PackageCodeOfFile(const std::wstring& path) {
    MSIHANDLE summary = 0;
    if (::MsiGetSummaryInformationW(0, path.c_str(), 0, &summary) != ERROR_SUCCESS) return {};
    wchar_t text[64] = {};
    DWORD size = 64;
    UINT type = 0;
    const UINT read = ::MsiSummaryInfoGetPropertyW(summary, PID_REVNUMBER, &type, nullptr, nullptr, text, &size);
    ::MsiCloseHandle(summary);
    return read == ERROR_SUCCESS && type == VT_LPSTR ? std::wstring(text) : std::wstring();
}

bool SetupPackage::AdoptPackageFile(const std::wstring& path) {
    ClearPackageFile();
    fw::UniqueFile lock(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!lock) return false;
    const std::wstring code = PackageCodeOfFile(path);
    if (code.empty() || !EqualsNoCase(code, facts_.packageCode)) return false;
    packageLock_ = std::move(lock);
    packageFile_ = path;
    return true;
}

void SetupPackage::ClearPackageFile() {
    packageLock_.reset();
    packageFile_.clear();
}

bool SetupPackage::IsMsi() const { return EqualsNoCase(facts_.installerType, L"msi"); }

bool IsInstalled(const SetupPackage& package) {
    if (package.Foreign() || package.Facts().productCode.empty()) return false;
    if (!package.IsMsi()) return false;  // other installers answer for themselves
    wchar_t code[39];
    for (DWORD index = 0; ::MsiEnumProductsW(index, code) == ERROR_SUCCESS; ++index) {
        if (package.Facts().productCode == code) return true;
    }
    return false;
}

SetupPackage::SetupPackage(const PackageFacts& facts, bool main, const CSetupAppCommandLineInfo& commandLine, bool mainInstalled)
    : facts_(facts), main_(main), validCode_(IsBracedGuid(facts.packageCode)) {
    if (facts_.installerType.empty()) facts_.installerType = L"msi";

    // Cache lookup: one .msi in the package's cache folder is its package file.
    if (validCode_ && !sharedDataFolder().empty()) {
        cacheFolder_ = sharedDataFolder() + L"\\" + facts_.packageCode;
        const auto files = VEZAFileUtilities::ListFiles(cacheFolder_, L"*.msi");
        if (files.size() == 1 && !AdoptPackageFile(files.front())) {
            refusedCacheFile_ = files.front();
            VEZAFileUtilities::DeleteFileAt(refusedCacheFile_);
        }
    }

    installedAtStart_ = IsInstalled(*this);
    if (installedAtStart_ && IsMsi()) {
        wchar_t installed[256];
        DWORD size = 256;
        if (::MsiGetProductInfoW(facts_.productCode.c_str(), INSTALLPROPERTY_PACKAGECODE, installed, &size) == ERROR_SUCCESS &&
            facts_.packageCode != installed) {
            foreign_ = true;
        }
    }

    if (commandLine.Extract()) {
        selected_ = true;
    } else if (commandLine.Repair() || commandLine.Uninstall()) {
        selected_ = installedAtStart_;
    } else if (main_) {
        selected_ = true;
    } else {
        selected_ = installedAtStart_ == mainInstalled;
    }
}
