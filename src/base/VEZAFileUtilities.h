#pragma once
// The launcher's layer over the Windows file system. Policies shared by all
// callers: read-only files are made writable before they are replaced or
// deleted, a file in use gets one second and one more attempt, long paths
// get the extended-length prefix. Failures are results, never exceptions.
#include <windows.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/FilePaths.h"
#include "framework/UniqueHandle.h"

class VEZAFileUtilities {
public:
    static bool Exists(const std::wstring& path);
    static bool IsFolder(const std::wstring& path);
    // Low 32 bits of the size; 0 when the file cannot be opened.
    static DWORD FileSize(const std::wstring& path);

    // One folder; success also when it exists. Secured: anonymous logons are
    // denied, guests, users and logged-on users may read, write and execute,
    // administrators have full access, inherited by everything below.
    static bool CreateFolder(const std::wstring& path, bool secured);
    // Every missing folder of a file path, outermost first.
    static bool CreateFolderOfFile(const VEZAFilePath& file);
    // The folder with all its contents. Links inside (junctions, symbolic
    // links) are removed as links; what they point to is never touched.
    static bool DeleteFolderTree(const std::wstring& path);
    // Full paths of the files (not folders) matching pattern in folder.
    static std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern);

    static bool CopyFileTo(const std::wstring& source, const std::wstring& target, bool failIfExists);
    static bool DeleteFileAt(const std::wstring& path);
    static bool CreateEmptyFile(const std::wstring& path, DWORD attributes);
    static bool AppendBytes(const std::wstring& target, const std::vector<uint8_t>& bytes);
    // The first name made from pattern (one integer) that can be created
    // new in folder; it stays as an empty file. Empty when none could be.
    static std::wstring FreeFileName(const std::wstring& folder, const std::wstring& pattern, int attempts);

    // Starts a process. -1 when it cannot start. Without wait: 0. With wait:
    // its exit code; after timeoutMs (INFINITE: no limit) it is terminated
    // with exit code 1. processOut, when given, receives a handle of the
    // process that the caller owns.
    static int Run(const std::wstring& commandLine, bool wait, const std::wstring* workingFolder,
                   const std::map<std::wstring, std::wstring>* environment, DWORD timeoutMs, bool showWindow,
                   fw::UniqueKernelHandle* processOut);

    static std::wstring CurrentFolder();
    static std::wstring TemporaryFolder();

    static bool GrantEveryoneFullAccess(const std::wstring& path);
    static bool HasExplicitGrant(const std::wstring& path, DWORD accessMask, const std::wstring& trustee);
    // The same test on an access list: an explicit grant of exactly that
    // mask (generic rights compared as the file rights they stand for) for a
    // trustee of that name, or a SID whose account name it is (no case).
    static bool AclHasExplicitGrant(PACL dacl, DWORD accessMask, const std::wstring& trustee);

    // The path with the extended-length prefix when it is too long for the
    // ordinary file functions.
    static std::wstring LongPath(const std::wstring& path);
};

// The common application-data folder + "\Quelto", created when missing and
// granted full access for everyone; computed once per process.
const std::wstring& sharedDataFolder();
