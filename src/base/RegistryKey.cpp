#include "base/RegistryKey.h"

#include <algorithm>
#include <vector>

namespace {

bool IsPredefined(HKEY h) {
    return h == HKEY_CLASSES_ROOT || h == HKEY_CURRENT_USER || h == HKEY_LOCAL_MACHINE || h == HKEY_CURRENT_CONFIG;
}

struct Root {
    const wchar_t* name;
    HKEY handle;
};
// Order in which a full path's first part is tried.
const Root kRoots[] = {
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
};

}  // namespace

RegistryKey& RegistryKey::ClassesRoot() {
    static RegistryKey root(HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT");
    return root;
}

RegistryKey& RegistryKey::CurrentUser() {
    static RegistryKey root(HKEY_CURRENT_USER, L"HKEY_CURRENT_USER");
    return root;
}

RegistryKey& RegistryKey::LocalMachine() {
    static RegistryKey root(HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE");
    return root;
}

RegistryKey::RegistryKey(HKEY predefined, const wchar_t* rootName) : name_(rootName), handle_(predefined) {}

RegistryKey::RegistryKey(const RegistryKey& parent, const std::wstring& subpath, bool readOnly, bool create, REGSAM view) {
    if (parent.IsOpen()) Open(parent.handle_, parent.FullPath(), subpath, readOnly, create, view);
}

RegistryKey::RegistryKey(const std::wstring& fullPath, bool readOnly, bool create, REGSAM view) {
    const size_t slash = fullPath.find(L'\\');
    const std::wstring first = fullPath.substr(0, slash);
    for (const Root& root : kRoots) {
        if (first != root.name) continue;
        if (slash == std::wstring::npos) {
            name_ = root.name;
            handle_ = root.handle;
            view_ = view;
        } else {
            Open(root.handle, root.name, fullPath.substr(slash + 1), readOnly, create, view);
        }
        return;
    }
}

void RegistryKey::Open(HKEY parent, const std::wstring& parentFullPath, const std::wstring& subpath, bool readOnly,
                       bool create, REGSAM view) {
    view_ = view;
    const size_t last = subpath.rfind(L'\\');
    name_ = last == std::wstring::npos ? subpath : subpath.substr(last + 1);
    parentPath_ = last == std::wstring::npos ? parentFullPath : parentFullPath + L"\\" + subpath.substr(0, last);
    const REGSAM access = (readOnly ? KEY_READ : KEY_ALL_ACCESS) | view;
    HKEY h = nullptr;
    const LONG rc = create ? ::RegCreateKeyExW(parent, subpath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                               nullptr, &h, nullptr)
                           : ::RegOpenKeyExW(parent, subpath.c_str(), 0, access, &h);
    handle_ = rc == ERROR_SUCCESS ? h : nullptr;
}

RegistryKey::~RegistryKey() { Close(); }

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : name_(std::move(other.name_)), parentPath_(std::move(other.parentPath_)), handle_(other.handle_), view_(other.view_) {
    other.handle_ = nullptr;
}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        name_ = std::move(other.name_);
        parentPath_ = std::move(other.parentPath_);
        handle_ = other.handle_;
        view_ = other.view_;
        other.handle_ = nullptr;
    }
    return *this;
}

void RegistryKey::Close() {
    if (handle_ && !IsPredefined(handle_)) ::RegCloseKey(handle_);
    handle_ = nullptr;
}

std::wstring RegistryKey::ReadString(const wchar_t* valueName) const {
    if (!handle_) return {};
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(handle_, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    // Room for a terminating zero that the stored value may lack.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (::RegQueryValueExW(handle_, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return {};
    }
    buffer[std::min<size_t>(bytes / sizeof(wchar_t), buffer.size() - 1)] = L'\0';
    return std::wstring(buffer.data());
}

DWORD RegistryKey::ReadDWORD(const wchar_t* valueName) const {
    if (!handle_) return 0;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExW(handle_, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value)) {
        return 0;
    }
    return value;
}

bool RegistryKey::WriteString(const wchar_t* valueName, const std::wstring& text) {
    if (!handle_) return false;
    return ::RegSetValueExW(handle_, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistryKey::WriteDWORD(const wchar_t* valueName, DWORD value) {
    if (!handle_) return false;
    return ::RegSetValueExW(handle_, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const wchar_t* valueName) {
    if (!handle_) return false;
    return ::RegDeleteValueW(handle_, valueName) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteTree(const std::wstring& subkey) {
    if (!handle_) return false;
    // Deleting through the view the key was opened in; a plain RegDeleteKeyW
    // would pick the process's own view.
    auto deleteKey = [&] { return ::RegDeleteKeyExW(handle_, subkey.c_str(), view_, 0) == ERROR_SUCCESS; };
    RegistryKey child(*this, subkey, false, false, view_);
    if (!child.IsOpen()) return deleteKey();
    for (;;) {
        DWORD subkeys = 0;
        if (::RegQueryInfoKeyW(child.handle_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        if (subkeys == 0) break;
        wchar_t name[257];
        DWORD length = 257;
        if (::RegEnumKeyExW(child.handle_, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return false;
        // A child that cannot go ends the walk instead of being tried again.
        if (!child.DeleteTree(name)) return false;
    }
    child.Close();
    return deleteKey();
}

SubkeyIteration::SubkeyIteration(const RegistryKey& key, bool readOnly) : key_(key), readOnly_(readOnly) {
    if (!key.IsOpen() || ::RegQueryInfoKeyW(key.Handle(), nullptr, nullptr, nullptr, &count_, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        count_ = 0;
    }
}

std::unique_ptr<RegistryKey> SubkeyIteration::Next() {
    while (index_ < count_) {
        wchar_t name[257];
        DWORD length = 257;
        const LONG rc = ::RegEnumKeyExW(key_.Handle(), index_++, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) return nullptr;
        return std::make_unique<RegistryKey>(key_, name, readOnly_, false, key_.View());
    }
    return nullptr;
}
