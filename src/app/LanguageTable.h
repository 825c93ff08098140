#pragma once
// The five UI languages of the launcher and the current one. Every
// user-visible text is loaded from the string table of the current language,
// never from the language Windows would pick.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "base/TextFormat.h"

struct UILanguage {
    std::wstring name;         // English name, matched by lang=
    std::wstring displayName;  // the name in the current UI language
    uint32_t displayNameId;
    uint32_t langId;
    std::wstring idString;     // the LANGID in decimal, as resource names use it
    std::wstring suffix;       // file-name suffix of localised files
    std::wstring isoCode;
};

class LanguageTable {
public:
    explicit LanguageTable(HMODULE resources = ::GetModuleHandleW(nullptr));

    // Each selection keeps the current language when nothing matches, and
    // reloads the display names in any case.
    void SelectByName(const std::wstring& text);
    void SelectByLangId(uint32_t langId);
    void SelectByIsoCode(const std::wstring& text);
    void ReloadDisplayNames();

    const UILanguage* Current() const { return current_ < languages_.size() ? &languages_[current_] : nullptr; }
    const std::vector<UILanguage>& Languages() const { return languages_; }

    // The string of the current language; empty when that table lacks it.
    std::wstring LoadLanguageString(uint32_t id) const;

    template <typename... Args>
    std::wstring FormatLanguageString(uint32_t id, const Args&... args) const {
        return FormatText(LoadLanguageString(id), args...);
    }

private:
    void Select(size_t index);

    HMODULE resources_;
    std::vector<UILanguage> languages_;
    static constexpr size_t kNone = static_cast<size_t>(-1);
    size_t current_ = kNone;  // index into languages_, kNone before any selection
};
