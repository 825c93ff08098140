#include "base/ResourceAccess.h"

#include <cstring>

#include "base/TextFormat.h"

ResourceView::ResourceView(const uint8_t* data, size_t size, bool copy) : borrowed_(data), size_(size) {
    if (copy) owned_.assign(data, data + size);
}

std::optional<ResourceModule> ResourceModule::LoadForResources(const std::wstring& path) {
    HMODULE h = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!h) return std::nullopt;
    ResourceModule module(h);
    module.loaded_.reset(h);
    return module;
}

namespace {

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<LANGID>*>(param)->push_back(language);
    return TRUE;
}

}  // namespace

std::vector<LANGID> ResourceModule::Languages(const ResourceId& type, const ResourceId& name) const {
    std::vector<LANGID> languages;
    ::EnumResourceLanguagesW(handle_, type.get(), name.get(), CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

bool ResourceModule::ExistsInLanguage(const ResourceId& type, const ResourceId& name, LANGID language) const {
    // FindResourceEx may fall back to neutral languages; asking the module
    // which languages it holds keeps the lookup exact.
    for (LANGID l : Languages(type, name)) {
        if (l == language) return true;
    }
    return false;
}

std::optional<ResourceView> ResourceModule::Find(const ResourceId& type, const ResourceId& name, LANGID language,
                                                 bool copy) const {
    if (!ExistsInLanguage(type, name, language)) return std::nullopt;
    HRSRC info = ::FindResourceExW(handle_, type.get(), name.get(), language);
    if (!info) return std::nullopt;
    const DWORD size = ::SizeofResource(handle_, info);
    HGLOBAL loaded = ::LoadResource(handle_, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data || size == 0) return std::nullopt;
    return ResourceView(static_cast<const uint8_t*>(data), size, copy);
}

std::optional<ResourceView> ResourceModule::FindAnyLanguage(const ResourceId& type, const ResourceId& name, bool copy) const {
    const std::vector<LANGID> languages = Languages(type, name);
    if (languages.empty()) return std::nullopt;
    return Find(type, name, languages.front(), copy);
}

bool ResourceModule::Exists(const ResourceId& type, const ResourceId& name, const std::wstring& languageText) const {
    if (!languageText.empty()) return ExistsInLanguage(type, name, LangIdFromText(languageText));
    return !Languages(type, name).empty();
}

LANGID LangIdFromText(const std::wstring& text) {
    if (text == L"1031") return 1031;
    if (text == L"1034") return 1034;
    if (text == L"1036") return 1036;
    if (text == L"1041") return 1041;
    return 1033;
}

std::wstring StringFromTableBlock(const uint8_t* block, size_t size, unsigned index) {
    if (index > 15) return {};
    size_t pos = 0;
    auto readWord = [&](uint16_t& w) {
        if (pos + 2 > size) return false;
        w = static_cast<uint16_t>(block[pos] | (block[pos + 1] << 8));
        pos += 2;
        return true;
    };
    for (unsigned i = 0;; ++i) {
        uint16_t length = 0;
        if (!readWord(length)) return {};
        if (i == index) {
            if (pos + size_t{length} * 2 > size) return {};
            std::wstring text(length, L'\0');
            for (uint16_t k = 0; k < length; ++k) {
                text[k] = static_cast<wchar_t>(block[pos + 2 * k] | (block[pos + 2 * k + 1] << 8));
            }
            return text;
        }
        pos += size_t{length} * 2;
    }
}

std::wstring GetFileVersionText(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<uint8_t> data(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    return FormatText(L"%i.%i.%i.%i", static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
                      static_cast<int>(LOWORD(fixed->dwFileVersionMS)), static_cast<int>(HIWORD(fixed->dwFileVersionLS)),
                      static_cast<int>(LOWORD(fixed->dwFileVersionLS)));
}

std::wstring GetOwnModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
