#pragma once
// One package of the catalogue: what the catalogue says about it, where its
// cached package file is, whether its product is installed (and from this
// very package) and whether it takes part in the run.
#include <string>

#include "app/SetupAppCommandLineInfo.h"
#include "framework/UniqueHandle.h"

struct PackageFacts {
    std::wstring productName;
    std::wstring productCode;
    std::wstring packageCode;
    std::wstring productId;
    std::wstring platform;      // "x64" (exact case) for a 64-bit product
    std::wstring versionText;
    std::wstring installerType; // "msi" when the catalogue names none
    std::wstring packageData;   // resource name "PACKAGE_%d" or the workload's file path
    std::wstring transformPattern;
};

class SetupPackage {
public:
    // Builds the record: cache lookup, installed test, default selection.
    // mainInstalled: whether the main package's product is installed (for a
    // sub-package's default selection).
    SetupPackage(const PackageFacts& facts, bool main, const CSetupAppCommandLineInfo& commandLine, bool mainInstalled);

    bool IsMain() const { return main_; }
    const PackageFacts& Facts() const { return facts_; }
    bool Is64Bit() const { return facts_.platform == L"x64"; }
    bool IsMsi() const;
    bool HasValidPackageCode() const { return validCode_; }
    bool InstalledAtStart() const { return installedAtStart_; }
    bool Foreign() const { return foreign_; }
    bool Selected() const { return selected_; }
    void SetSelected(bool selected) { selected_ = selected; }
    const std::wstring& CacheFolder() const { return cacheFolder_; }
    const std::wstring& PackageFile() const { return packageFile_; }
    const std::wstring& LanguageTransformName() const { return transformName_; }
    void SetLanguageTransformName(const std::wstring& name) { transformName_ = name; }

    // The cache folder is writable by every user, so a package file is used
    // only when its summary information carries this package's package code.
    // From then on it is held open for reading with read sharing only, so
    // nobody can replace or change it before Windows Installer has run it.
    // False (and no package file) when the file cannot be held or is another
    // package.
    bool AdoptPackageFile(const std::wstring& path);
    // Lets go of the file (before its folder is deleted or it is written);
    // the path stays.
    void ReleasePackageFile() { packageLock_.reset(); }
    // No package file: it is to be unpacked (again).
    void ClearPackageFile();
    // The file the cache lookup found but refused as another package; it was
    // deleted so that unpacking can put the right one in its place.
    const std::wstring& RefusedCacheFile() const { return refusedCacheFile_; }

private:
    PackageFacts facts_;
    bool main_;
    bool validCode_;
    bool installedAtStart_ = false;
    bool foreign_ = false;
    bool selected_ = false;
    std::wstring cacheFolder_;
    std::wstring packageFile_;
    std::wstring transformName_;
    std::wstring refusedCacheFile_;
    fw::UniqueFile packageLock_;
};

// The package code (summary information revision number) of a package file;
// empty when it cannot be read.
std::wstring PackageCodeOfFile(const std::wstring& path);

// Whether the package's product is installed: never for a foreign package or
// one without product code; MSI products are looked up among the installed
// products by exact product code.
bool IsInstalled(const SetupPackage& package);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hex digits: the only form a
// package code may have, since it names a folder and reaches a batch file.
bool IsBracedGuid(const std::wstring& text);
