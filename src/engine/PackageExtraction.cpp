#include "engine/PackageExtraction.h"

#include "engine/CancelFlag.h"
#include "engine/SetupAction.h"
#include "app/SetupApp.h"
#include "base/ResourceAccess.h"
#include "base/VEZAFileUtilities.h"

namespace {

constexpr wchar_t kCabinetName[] = L"Package.cab";

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// The package's transform for the UI language, written beside the package
// file. 11 when the disk is full, else 0 (a missing transform is no error).
int WriteLanguageTransform(SetupPackage& package, const ExtractionSettings& settings, const ResourceModule& resources) {
    const std::wstring name = FormatText(package.Facts().transformPattern, settings.languageId);
    const auto transform = resources.Find(kResourceTypeCatalogue, name, static_cast<LANGID>(std::stoul(settings.languageId)), false);
    if (!transform) return 0;
    const std::wstring fileName = L"Transform" + settings.suffix + L".mst";
    const std::wstring path = package.CacheFolder() + L"\\" + fileName;
    fw::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return IsDiskFull(::GetLastError()) ? 11 : 0;
    DWORD written = 0;
    const bool complete = ::WriteFile(file.get(), transform->data(), static_cast<DWORD>(transform->size()), &written, nullptr) &&
                          written == transform->size();
    const DWORD error = ::GetLastError();
    file.reset();
    if (!complete) {
        // A cut-off transform would make Windows Installer fail later.
        ::DeleteFileW(path.c_str());
        return IsDiskFull(error) ? 11 : 0;
    }
    package.SetLanguageTransformName(fileName);
    return 0;
}

int Cancelled() {
    SetResult(3);
    return 1603;
}

}  // namespace

ExtractionSettings ExtractionSettings::ForRun(CSetupApp& app) {
    ExtractionSettings settings;
    const UILanguage* language = app.Languages().Current();
    if (language) {
        settings.languageId = language->idString;
        settings.suffix = language->suffix;
    }
    settings.statusFormat = app.Languages().LoadLanguageString(5);
    const auto& packages = app.Packages();
    const SetupAction action = ChooseAction(app.CommandLine(), !packages.empty() && IsInstalled(*packages.front()));
    settings.writeLanguageTransform = app.IsMultiLanguage() && language && language->langId != 1033 &&
                                      (action == SetupAction::Install || action == SetupAction::Modify);
    return settings;
}

int ExtractPackage(SetupPackage& package, VEZACabinetProgressCallbacks* progress, const ExtractionSettings& settings,
                   ExtractionStatusIF* status, HMODULE module) {
    const ResourceModule resources(module ? module : ::GetModuleHandleW(nullptr));
    const std::wstring& folder = package.CacheFolder();
    if (folder.empty()) return 1620;  // no valid package code, no cache folder
    VEZAFileUtilities::CreateFolderOfFile(VEZAFilePath(folder + L"\\" + kCabinetName));

    if (package.PackageFile().empty()) {
        if (CancelRequested()) return Cancelled();
        const std::wstring& data = package.Facts().packageData;
        WriteLog(2, L"QVR (c): Extracting resource: %s\r\n", data);
        if (status) status->SetStatusText(FormatText(settings.statusFormat, package.Facts().productName));

        VEZACabinetExtractor extractor;
        if (resources.Exists(kResourceTypeCatalogue, data, L"")) {
            extractor.OpenResource("Package.cab", data, folder, resources.get());
        } else {
            extractor.OpenFile(data, folder);
        }
        if (!extractor.ExtractAll(progress)) {
            // A cancelled copy fails silently; the cancel is the outcome.
            if (CancelRequested()) return Cancelled();
            return VEZACabinetExtractor::DiskFull() ? 11 : 1620;
        }
        extractor.Close();

        if (package.IsMsi()) {
            const auto files = VEZAFileUtilities::ListFiles(folder, L"*.msi");
            if (files.size() == 1 && !package.AdoptPackageFile(files.front())) {
                WriteLog(1, L"QVR (c): Package file %s does not carry the package code %s.\r\n", files.front(),
                         package.Facts().packageCode);
                VEZAFileUtilities::DeleteFileAt(files.front());
                return 1620;
            }
        }
    }

    if (settings.writeLanguageTransform) return WriteLanguageTransform(package, settings, resources);
    return 0;
}

std::vector<ExtractionEntry> BuildExtractionList(const std::vector<std::unique_ptr<SetupPackage>>& packages, bool repair,
                                                 HMODULE module) {
    std::vector<ExtractionEntry> list;
    if (repair) return list;
    const ResourceModule resources(module ? module : ::GetModuleHandleW(nullptr));
    for (const auto& package : packages) {
        if (!package->Selected() || !package->PackageFile().empty()) continue;
        const std::wstring& data = package->Facts().packageData;
        uint64_t size = 0;
        if (resources.Exists(kResourceTypeCatalogue, data, L"")) {
            const auto view = resources.FindAnyLanguage(kResourceTypeCatalogue, data, false);
            size = view && view->size() >= 4 ? view->size() - 4 : 0;
        } else if (VEZAFileUtilities::Exists(data)) {
            size = VEZAFileUtilities::FileSize(data);
        }
        list.push_back({package.get(), size});
    }
    return list;
}

void DeleteExtractedPackageFolders(const std::vector<std::unique_ptr<SetupPackage>>& packages) {
    for (const auto& package : packages) {
        const std::wstring& folder = package->CacheFolder();
        if (folder.empty() || IsInstalled(*package) || !VEZAFileUtilities::IsFolder(folder)) continue;
        package->ReleasePackageFile();
        WriteLog(3, L"QVR (c): Deleting MSI folder %s\r\n", folder);
        if (VEZAFileUtilities::DeleteFolderTree(folder)) WriteLog(3, L"QVR (c): Deleted MSI folder %s\r\n", folder);
    }
}
