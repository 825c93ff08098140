#include "app/LanguageTable.h"

#include "base/ResourceAccess.h"
#include "base/TextUtil.h"

LanguageTable::LanguageTable(HMODULE resources) : resources_(resources) {
    languages_ = {
        {L"English", L"English", 50, 1033, L"1033", L"", L"en"},
        {L"German", L"German", 51, 1031, L"1031", L"_de", L"de"},
        {L"Spanish", L"Spanish", 52, 1034, L"1034", L"_es", L"es"},
        {L"French", L"French", 65, 1036, L"1036", L"_fr", L"fr"},
        {L"Japanese", L"Japanese", 53, 1041, L"1041", L"_ja", L"ja"},
    };
}

void LanguageTable::Select(size_t index) {
    if (index != kNone) current_ = index;
    ReloadDisplayNames();
}

void LanguageTable::SelectByName(const std::wstring& text) {
    size_t found = kNone;
    for (size_t i = 0; i < languages_.size() && found == kNone; ++i) {
        if (EqualsNoCase(languages_[i].name, text) || EqualsNoCase(languages_[i].displayName, text)) found = i;
    }
    Select(found);
}

void LanguageTable::SelectByLangId(uint32_t langId) {
    size_t found = kNone;
    for (size_t i = 0; i < languages_.size() && found == kNone; ++i) {
        if (languages_[i].langId == langId) found = i;
    }
    // Without an exact match the primary language (the low 10 bits) decides.
    for (size_t i = 0; i < languages_.size() && found == kNone; ++i) {
        if ((languages_[i].langId & 0x3FF) == (langId & 0x3FF)) found = i;
    }
    Select(found);
}

void LanguageTable::SelectByIsoCode(const std::wstring& text) {
    size_t found = kNone;
    for (size_t i = 0; i < languages_.size() && found == kNone; ++i) {
        if (EqualsNoCase(languages_[i].isoCode, text)) found = i;
    }
    Select(found);
}

void LanguageTable::ReloadDisplayNames() {
    for (UILanguage& l : languages_) l.displayName = LoadLanguageString(l.displayNameId);
}

std::wstring LanguageTable::LoadLanguageString(uint32_t id) const {
    const UILanguage* current = Current();
    if (!current) return {};
    const ResourceModule module(resources_);
    const WORD block = static_cast<WORD>(id / 16 + 1);
    auto view = module.Find(kResourceTypeString, block, static_cast<LANGID>(current->langId), false);
    if (!view) return {};
    return StringFromTableBlock(view->data(), view->size(), id % 16);
}
