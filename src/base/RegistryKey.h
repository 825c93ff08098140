#pragma once
// One registry key: opened with the right access and registry view, typed
// reads and writes, tree deletion and subkey iteration. Every operation on a
// key that is not open does nothing and answers false, 0 or empty text.
#include <windows.h>
#include <memory>
#include <string>

class RegistryKey {
public:
    // The three root objects of the process.
    static RegistryKey& ClassesRoot();
    static RegistryKey& CurrentUser();
    static RegistryKey& LocalMachine();

    RegistryKey() = default;
    // Opens (or with create, creates) subpath below parent. The access is
    // KEY_READ or KEY_ALL_ACCESS, combined with the view flags
    // (KEY_WOW64_64KEY, KEY_WOW64_32KEY or 0).
    RegistryKey(const RegistryKey& parent, const std::wstring& subpath, bool readOnly, bool create, REGSAM view = 0);
    // A full path starting with a root name, matched exactly:
    // "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT" or "HKEY_CURRENT_USER".
    RegistryKey(const std::wstring& fullPath, bool readOnly, bool create, REGSAM view = 0);
    ~RegistryKey();

    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;

    bool IsOpen() const { return handle_ != nullptr; }
    void Close();
    HKEY Handle() const { return handle_; }
    REGSAM View() const { return view_; }
    const std::wstring& Name() const { return name_; }
    const std::wstring& ParentPath() const { return parentPath_; }
    std::wstring FullPath() const { return parentPath_.empty() ? name_ : parentPath_ + L"\\" + name_; }

    // valueName null: the default value. REG_SZ or REG_EXPAND_SZ (unexpanded), else empty.
    std::wstring ReadString(const wchar_t* valueName) const;
    // A REG_DWORD value, else 0.
    DWORD ReadDWORD(const wchar_t* valueName) const;
    bool WriteString(const wchar_t* valueName, const std::wstring& text);
    bool WriteDWORD(const wchar_t* valueName, DWORD value);
    bool DeleteValue(const wchar_t* valueName);
    // Deletes the subkey with all its descendants; false when any of them
    // could not be deleted.
    bool DeleteTree(const std::wstring& subkey);

private:
    RegistryKey(HKEY predefined, const wchar_t* rootName);
    void Open(HKEY parent, const std::wstring& parentFullPath, const std::wstring& subpath, bool readOnly, bool create,
              REGSAM view);

    std::wstring name_;
    std::wstring parentPath_;
    HKEY handle_ = nullptr;
    REGSAM view_ = 0;
};

// Forward iteration over the subkeys of a key, by index up to the count read
// when the iteration starts; each step opens the next subkey with the key's
// view flags and hands it to the caller.
class SubkeyIteration {
public:
    SubkeyIteration(const RegistryKey& key, bool readOnly);
    // The next subkey; null at the end.
    std::unique_ptr<RegistryKey> Next();

private:
    const RegistryKey& key_;
    bool readOnly_;
    DWORD count_ = 0;
    DWORD index_ = 0;
};
