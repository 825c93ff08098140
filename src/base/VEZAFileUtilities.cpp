#include "base/VEZAFileUtilities.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include "base/TextFormat.h"
#include "base/TextUtil.h"

namespace {

struct FindHandleTraits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { ::FindClose(h); }
};
using UniqueFind = fw::UniqueHandle<FindHandleTraits>;

// LocalAlloc'ed memory handed out by security functions.
struct LocalMemory {
    void* p = nullptr;
    ~LocalMemory() {
        if (p) ::LocalFree(p);
    }
};

bool ClearReadOnly(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return true;
    return ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
}

constexpr wchar_t kSecuredFolderSddl[] =
    L"D:(D;OICI;GA;;;AN)(A;OICI;GRGWGX;;;BG)(A;OICI;GRGWGX;;;BU)(A;OICI;GRGWGX;;;AU)(A;OICI;GA;;;BA)";

}  // namespace

std::wstring VEZAFileUtilities::LongPath(const std::wstring& path) {
    // Folders are limited to 248 characters, files to 260 with the zero.
    if (path.size() < 248 || path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

bool VEZAFileUtilities::Exists(const std::wstring& path) {
    return ::GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool VEZAFileUtilities::IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD VEZAFileUtilities::FileSize(const std::wstring& path) {
    fw::UniqueFile file(::CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    const DWORD size = ::GetFileSize(file.get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

bool VEZAFileUtilities::CreateFolder(const std::wstring& path, bool secured) {
    const std::wstring target = LongPath(path);
    BOOL created = FALSE;
    if (secured) {
        using ConvertFn = BOOL(WINAPI*)(LPCWSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
        HMODULE advapi = ::GetModuleHandleW(L"advapi32.dll");
        if (!advapi) advapi = ::LoadLibraryW(L"advapi32.dll");
        auto convert = advapi ? reinterpret_cast<ConvertFn>(reinterpret_cast<void*>(
                                    ::GetProcAddress(advapi, "ConvertStringSecurityDescriptorToSecurityDescriptorW")))
                              : nullptr;
        if (!convert) return false;
        LocalMemory descriptor;
        if (!convert(kSecuredFolderSddl, SDDL_REVISION_1, &descriptor.p, nullptr)) return false;
        SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.p, FALSE};
        created = ::CreateDirectoryW(target.c_str(), &attributes);
    } else {
        created = ::CreateDirectoryW(target.c_str(), nullptr);
    }
    return created || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool VEZAFileUtilities::CreateFolderOfFile(const VEZAFilePath& file) {
    const VEZAFolderPath& folder = file.Folder();
    if (!folder.IsValid()) return false;
    VEZAFolderPath partial(folder.Root() + (folder.IsAbsolute() ? L"\\" : L""));
    for (const std::wstring& name : folder.Names()) {
        partial.Append(VEZAFolderPath(name));
        if (!IsFolder(partial.Text()) && !CreateFolder(partial.Text(), false)) return false;
    }
    return true;
}

bool VEZAFileUtilities::DeleteFolderTree(const std::wstring& path) {
    const DWORD top = ::GetFileAttributesW(LongPath(path).c_str());
    if (top == INVALID_FILE_ATTRIBUTES) return true;
    // A link is removed as a link; its target stays.
    if (top & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (!(top & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileAt(path);
        // A directory link goes with RemoveDirectory; links of the host file
        // system under Wine only go with DeleteFile.
        return ::RemoveDirectoryW(LongPath(path).c_str()) || ::DeleteFileW(LongPath(path).c_str());
    }
    WIN32_FIND_DATAW data;
    {
        UniqueFind find(::FindFirstFileW(LongPath(path + L"\\*.*").c_str(), &data));
        if (find) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring child = path + L"\\" + name;
                const bool ok = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? DeleteFolderTree(child) : DeleteFileAt(child);
                if (!ok) return false;
            } while (::FindNextFileW(find.get(), &data));
        }
    }
    ClearReadOnly(LongPath(path));
    ::RemoveDirectoryW(LongPath(path).c_str());
    return !Exists(path);
}

std::vector<std::wstring> VEZAFileUtilities::ListFiles(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data;
    UniqueFind find(::FindFirstFileW(LongPath(folder + L"\\" + pattern).c_str(), &data));
    if (!find) return files;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L".." || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        files.push_back(folder + L"\\" + name);
    } while (::FindNextFileW(find.get(), &data));
    return files;
}

bool VEZAFileUtilities::CopyFileTo(const std::wstring& source, const std::wstring& target, bool failIfExists) {
    CreateFolderOfFile(VEZAFilePath(target));
    const bool longPaths = source.size() > 259 || target.size() > 259;
    const std::wstring from = longPaths ? LongPath(source) : source;
    const std::wstring to = longPaths ? LongPath(target) : target;
    ClearReadOnly(to);
    return ::CopyFileW(from.c_str(), to.c_str(), failIfExists) != FALSE;
}

bool VEZAFileUtilities::DeleteFileAt(const std::wstring& path) {
    const std::wstring target = LongPath(path);
    ClearReadOnly(target);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (::DeleteFileW(target.c_str())) return true;
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) return false;
        if (attempt == 0) ::Sleep(1000);
    }
    return false;
}

bool VEZAFileUtilities::CreateEmptyFile(const std::wstring& path, DWORD attributes) {
    CreateFolderOfFile(VEZAFilePath(path));
    fw::UniqueFile file(::CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                      attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid();
}

bool VEZAFileUtilities::AppendBytes(const std::wstring& target, const std::vector<uint8_t>& bytes) {
    fw::UniqueFile file(::CreateFileW(LongPath(target).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring VEZAFileUtilities::FreeFileName(const std::wstring& folder, const std::wstring& pattern, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        const std::wstring candidate = VEZAFilePath(VEZAFolderPath(folder), FormatText(pattern, i)).Text();
        fw::UniqueFile file(::CreateFileW(LongPath(candidate).c_str(), 0, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return candidate;
        if (::GetLastError() == ERROR_ACCESS_DENIED) break;
    }
    return {};
}

int VEZAFileUtilities::Run(const std::wstring& commandLine, bool wait, const std::wstring* workingFolder,
                           const std::map<std::wstring, std::wstring>* environment, DWORD timeoutMs, bool showWindow,
                           fw::UniqueKernelHandle* processOut) {
    // Overrides are set for the launcher itself around the start, so that
    // the child inherits them, and restored afterwards.
    std::map<std::wstring, std::optional<std::wstring>> saved;
    if (environment) {
        for (const auto& [name, value] : *environment) {
            const DWORD n = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
            if (n == 0) {
                saved[name] = std::nullopt;
            } else {
                std::wstring old(n, L'\0');
                old.resize(::GetEnvironmentVariableW(name.c_str(), old.data(), n));
                saved[name] = old;
            }
            ::SetEnvironmentVariableW(name.c_str(), value.c_str());
        }
    }
    STARTUPINFOW startup{};
    ::GetStartupInfoW(&startup);
    PROCESS_INFORMATION info{};
    std::wstring mutableLine = commandLine;
    const BOOL started = ::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE,
                                          showWindow ? 0 : CREATE_NO_WINDOW, nullptr,
                                          workingFolder ? workingFolder->c_str() : nullptr, &startup, &info);
    for (const auto& [name, value] : saved) ::SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    if (!started) return -1;
    fw::UniqueKernelHandle process(info.hProcess);
    fw::UniqueKernelHandle thread(info.hThread);
    if (!wait) {
        // The process runs on by itself; its handles are not needed here.
        if (processOut) processOut->reset(process.release());
        return 0;
    }
    if (processOut) {
        HANDLE copy = nullptr;
        if (::DuplicateHandle(::GetCurrentProcess(), process.get(), ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
            processOut->reset(copy);
        }
    }
    if (::WaitForSingleObject(process.get(), timeoutMs) == WAIT_TIMEOUT) {
        ::OutputDebugStringW(L"VEZAFileUtilities::Wait: Terminate process");
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), INFINITE);
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.get(), &exitCode);
    return static_cast<int>(exitCode);
}

namespace {

template <typename Getter>
std::wstring GrowingBuffer(Getter get) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = get(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(n + 1);
    }
}

}  // namespace

std::wstring VEZAFileUtilities::CurrentFolder() {
    return GrowingBuffer([](DWORD size, wchar_t* buffer) { return ::GetCurrentDirectoryW(size, buffer); });
}

std::wstring VEZAFileUtilities::TemporaryFolder() {
    return GrowingBuffer([](DWORD size, wchar_t* buffer) { return ::GetTempPathW(size, buffer); });
}

bool VEZAFileUtilities::GrantEveryoneFullAccess(const std::wstring& path) {
    PACL dacl = nullptr;
    LocalMemory descriptor;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                                &descriptor.p) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t trustee[] = L"EVERYONE";
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = trustee;
    LocalMemory newAcl;
    PACL updated = nullptr;
    if (::SetEntriesInAclW(1, &access, dacl, &updated) != ERROR_SUCCESS) return false;
    newAcl.p = updated;
    return ::SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                   nullptr, updated, nullptr) == ERROR_SUCCESS;
}

bool VEZAFileUtilities::HasExplicitGrant(const std::wstring& path, DWORD accessMask, const std::wstring& trustee) {
    PACL dacl = nullptr;
    LocalMemory descriptor;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                                &descriptor.p) != ERROR_SUCCESS || !dacl) {
        return false;
    }
    return AclHasExplicitGrant(dacl, accessMask, trustee);
}

bool VEZAFileUtilities::AclHasExplicitGrant(PACL dacl, DWORD accessMask, const std::wstring& trustee) {
    // Generic rights are stored as the file rights they stand for, so both
    // sides are compared in that form.
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    auto specific = [&](DWORD mask) {
        ::MapGenericMask(&mask, &mapping);
        return mask;
    };
    ULONG count = 0;
    LocalMemory entries;
    EXPLICIT_ACCESSW* list = nullptr;
    if (!dacl || ::GetExplicitEntriesFromAclW(dacl, &count, &list) != ERROR_SUCCESS) return false;
    entries.p = list;
    for (ULONG i = 0; i < count; ++i) {
        const EXPLICIT_ACCESSW& e = list[i];
        if (e.grfAccessMode != GRANT_ACCESS && e.grfAccessMode != SET_ACCESS) continue;
        if (specific(e.grfAccessPermissions) != specific(accessMask)) continue;
        if (e.Trustee.TrusteeForm == TRUSTEE_IS_NAME) {
            if (EqualsNoCase(e.Trustee.ptstrName, trustee)) return true;
        } else if (e.Trustee.TrusteeForm == TRUSTEE_IS_SID) {
            wchar_t name[256];
            wchar_t domain[256];
            DWORD nameLength = 256;
            DWORD domainLength = 256;
            SID_NAME_USE use;
            if (::LookupAccountSidW(nullptr, reinterpret_cast<PSID>(e.Trustee.ptstrName), name, &nameLength, domain,
                                    &domainLength, &use) &&
                EqualsNoCase(name, trustee)) {
                return true;
            }
        }
    }
    return false;
}

const std::wstring& sharedDataFolder() {
    static const std::wstring folder = [] {
        wchar_t common[MAX_PATH] = L"";
        if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common))) return std::wstring();
        const std::wstring path = std::wstring(common) + L"\\Quelto";
        if (!VEZAFileUtilities::IsFolder(path)) VEZAFileUtilities::CreateFolder(path, false);
        if (!VEZAFileUtilities::HasExplicitGrant(path, GENERIC_ALL, L"EVERYONE")) VEZAFileUtilities::GrantEveryoneFullAccess(path);
        return path;
    }();
    return folder;
}
