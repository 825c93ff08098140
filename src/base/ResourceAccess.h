#pragma once
// Lookups in the launcher's own resources: a resource by type, name and
// exact language, the mapping of a language id text to a LANGID, string-table
// blocks and the file version of an executable.
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/UniqueHandle.h"

constexpr WORD kResourceTypeIcon = 3;
constexpr WORD kResourceTypeString = 6;
constexpr WORD kResourceTypeIconGroup = 14;
// The package catalogue: texts and package data of the launcher.
constexpr WORD kResourceTypeCatalogue = 40;

// A resource type or name: either a text or a number.
class ResourceId {
public:
    ResourceId(const wchar_t* name) : text_(name) {}
    ResourceId(const std::wstring& name) : text_(name) {}
    ResourceId(WORD number) : number_(number) {}
    LPCWSTR get() const { return text_.empty() ? MAKEINTRESOURCEW(number_) : text_.c_str(); }

private:
    std::wstring text_;
    WORD number_ = 0;
};

// Bytes of a located resource: borrowed from the module (valid while it stays
// loaded) or copied into an owned buffer.
class ResourceView {
public:
    ResourceView(const uint8_t* data, size_t size, bool copy);
    const uint8_t* data() const { return owned_.empty() ? borrowed_ : owned_.data(); }
    size_t size() const { return size_; }

private:
    const uint8_t* borrowed_;
    size_t size_;
    std::vector<uint8_t> owned_;
};

// The launcher's own module, or another executable loaded only for its
// resources; a loaded module is freed with this object.
class ResourceModule {
public:
    ResourceModule() : handle_(::GetModuleHandleW(nullptr)) {}
    explicit ResourceModule(HMODULE borrowed) : handle_(borrowed) {}
    static std::optional<ResourceModule> LoadForResources(const std::wstring& path);

    HMODULE get() const { return handle_; }

    // Exactly that language, no fallback. Absent when not there or empty.
    std::optional<ResourceView> Find(const ResourceId& type, const ResourceId& name, LANGID language, bool copy) const;
    // The resource in the first language the module holds it in. Absent when
    // not there or empty.
    std::optional<ResourceView> FindAnyLanguage(const ResourceId& type, const ResourceId& name, bool copy) const;
    // Any language when languageText is empty, else exactly the language it maps to.
    bool Exists(const ResourceId& type, const ResourceId& name, const std::wstring& languageText) const;
    bool ExistsInLanguage(const ResourceId& type, const ResourceId& name, LANGID language) const;
    // The languages a resource is stored in, in the module's order.
    std::vector<LANGID> Languages(const ResourceId& type, const ResourceId& name) const;

private:
    HMODULE handle_;
    fw::UniqueModule loaded_;
};

// "1031", "1034", "1036" and "1041" map to their LANGID, every other text to 1033.
LANGID LangIdFromText(const std::wstring& text);

// Entry index (0..15) of a string-table block: a sequence of 16 counted
// strings. Empty when the entry is absent or the block is cut short.
std::wstring StringFromTableBlock(const uint8_t* block, size_t size, unsigned index);

// "%i.%i.%i.%i" from the fixed version information of a file; empty when it
// has none.
std::wstring GetFileVersionText(const std::wstring& path);

// The full path of the running executable.
std::wstring GetOwnModulePath();
