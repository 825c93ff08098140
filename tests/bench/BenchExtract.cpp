// Times one extraction, for the extraction benchmark (scripts/bench-extract.py):
//   bench_extract launcher LAUNCHER.exe   the launcher's own extraction of its
//                                         package 0, read from the launcher's
//                                         resources in place
//   bench_extract fdi CABINET DEST        a bare cabinet copy of a cabinet file
//                                         with plain file callbacks
// Prints "seconds <s>" and exits 0 on success.
#include <windows.h>
#include <fcntl.h>
#include <fdi.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/CatalogueResources.h"
#include "engine/PackageExtraction.h"
#include "app/SetupApp.h"
#include "base/VEZAFileUtilities.h"

namespace {

double Now() {
    LARGE_INTEGER frequency, count;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int RunLauncherExtraction(const std::wstring& launcherPath) {
    const HMODULE module = ::LoadLibraryExW(launcherPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        std::printf("cannot load %ls for its resources\n", launcherPath.c_str());
        return 2;
    }
    const CatalogueResources catalogue(module);
    auto text = [&](const wchar_t* name) { return catalogue.ReadCatalogueResource(name).value_or(L""); };
    const PackageFacts facts{text(L"PRODUCT_NAME_0"), text(L"PRODUCT_CODE_0"), text(L"PACKAGE_CODE_0"), text(L"PRODUCT_ID_0"),
                             text(L"PRODUCT_PLATFORM_0"), text(L"PRODUCT_VERSION_0"), L"msi", L"PACKAGE_0", L"PACKAGE_0_%s"};
    CSetupAppCommandLineInfo install;
    std::vector<std::unique_ptr<SetupPackage>> packages;
    packages.push_back(std::make_unique<SetupPackage>(facts, true, install, false));
    SetupPackage& package = *packages.front();
    package.ReleasePackageFile();
    VEZAFileUtilities::DeleteFolderTree(package.CacheFolder());
    package.ClearPackageFile();

    const ExtractionSettings english{false, L"1033", L"", L"%s"};
    const double start = Now();
    const int result = ExtractPackage(package, nullptr, english, nullptr, module);
    const double seconds = Now() - start;
    std::printf("result %d\nseconds %.3f\n", result, seconds);
    package.ReleasePackageFile();
    VEZAFileUtilities::DeleteFolderTree(package.CacheFolder());
    return result == 0 ? 0 : 1;
}

// The simplest callbacks the decompression interface accepts: files only.
void* DIAMONDAPI Allocate(ULONG size) { return std::malloc(size); }
void DIAMONDAPI Release(void* block) { std::free(block); }
INT_PTR DIAMONDAPI OpenFile(char* name, int flags, int) {
    const bool create = (flags & _O_CREAT) != 0;
    const HANDLE file = ::CreateFileA(name, create ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<INT_PTR>(file);
}
UINT DIAMONDAPI ReadFile(INT_PTR file, void* buffer, UINT count) {
    DWORD done = 0;
    return ::ReadFile(reinterpret_cast<HANDLE>(file), buffer, count, &done, nullptr) ? done : static_cast<UINT>(-1);
}
UINT DIAMONDAPI WriteFile(INT_PTR file, void* buffer, UINT count) {
    DWORD done = 0;
    return ::WriteFile(reinterpret_cast<HANDLE>(file), buffer, count, &done, nullptr) ? done : static_cast<UINT>(-1);
}
int DIAMONDAPI CloseFile(INT_PTR file) { return ::CloseHandle(reinterpret_cast<HANDLE>(file)) ? 0 : -1; }
long DIAMONDAPI SeekFile(INT_PTR file, long distance, int origin) {
    return static_cast<long>(::SetFilePointer(reinterpret_cast<HANDLE>(file), distance, nullptr,
                                              origin == SEEK_CUR ? FILE_CURRENT : origin == SEEK_END ? FILE_END : FILE_BEGIN));
}

std::string destination;
INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION info) {
    if (type == fdintCOPY_FILE) {
        std::string name = info->psz1;
        name.erase(0, name.find_last_of("\\/") + 1);
        char path[MAX_PATH * 2];
        std::snprintf(path, sizeof path, "%s\\%s", destination.c_str(), name.c_str());
        return OpenFile(path, _O_CREAT | _O_WRONLY, 0);
    }
    if (type == fdintCLOSE_FILE_INFO) {
        CloseFile(info->hf);
        return TRUE;
    }
    return 0;
}

int RunBareCopy(const std::string& cabinet, const std::string& target) {
    destination = target;
    ::CreateDirectoryA(target.c_str(), nullptr);
    ERF error{};
    const HFDI context = ::FDICreate(Allocate, Release, OpenFile, ReadFile, WriteFile, CloseFile, SeekFile, cpuUNKNOWN, &error);
    const size_t cut = cabinet.find_last_of("\\/");
    std::string folder = cabinet.substr(0, cut + 1), name = cabinet.substr(cut + 1);
    const double start = Now();
    const BOOL copied = ::FDICopy(context, name.data(), folder.data(), 0, Notify, nullptr, nullptr);
    const double seconds = Now() - start;
    ::FDIDestroy(context);
    std::printf("result %d\nseconds %.3f\n", copied ? 0 : error.erfOper, seconds);
    return copied ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The extraction writes through the setup log and reads the UI strings of
    // an application object; this one has no log file.
    CSetupApp app;
    app.Languages().SelectByName(L"English");
    if (argc >= 3 && std::wstring(argv[1]) == L"launcher") return RunLauncherExtraction(argv[2]);
    if (argc >= 4 && std::wstring(argv[1]) == L"fdi") {
        auto narrow = [](const wchar_t* text) {
            std::string out;
            for (const wchar_t* c = text; *c; ++c) out += static_cast<char>(*c);
            return out;
        };
        return RunBareCopy(narrow(argv[2]), narrow(argv[3]));
    }
    std::printf("usage: bench_extract launcher LAUNCHER.exe | fdi CABINET DEST\n");
    return 2;
}
