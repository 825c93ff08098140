#include "app/CatalogueResources.h"

#include <vector>

#include "base/TextFormat.h"
#include "base/TextUtil.h"

std::wstring CatalogueText(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c == L'\0') break;
        text += c;
    }
    return text;
}

bool CatalogueResources::IsMultiLanguage() const {
    return module_.ExistsInLanguage(kResourceTypeCatalogue, L"PACKAGE_0_1031", 1031);
}

std::optional<std::wstring> CatalogueResources::ReadCatalogueResource(const std::wstring& name) const {
    if (IsMultiLanguage()) {
        auto view = module_.Find(kResourceTypeCatalogue, name, 1033, false);
        return view ? CatalogueText(view->data(), view->size()) : std::wstring();
    }
    const auto languages = module_.Languages(kResourceTypeCatalogue, name);
    if (languages.empty()) return std::nullopt;
    auto view = module_.Find(kResourceTypeCatalogue, name, languages.front(), false);
    if (!view) return std::nullopt;
    return CatalogueText(view->data(), view->size());
}

std::optional<LANGID> CatalogueResources::StoredLanguage() const {
    const auto languages = module_.Languages(kResourceTypeCatalogue, L"OS");
    if (languages.empty()) return std::nullopt;
    return languages.front();
}

bool CatalogueResources::ValidateResources() const {
    const bool multi = IsMultiLanguage();
    const auto count = ReadCatalogueResource(L"PACKAGE_COUNT");
    long packages = count ? ParseDecimal(*count) : 0;
    if (packages < 0) packages = 0;

    // Each required resource with the language text it must exist in (empty: any).
    const std::wstring textLanguage = multi ? L"1033" : L"";
    std::vector<std::pair<std::wstring, std::wstring>> required = {
        {L"OS", textLanguage}, {L"MINIMUM_MSI", textLanguage}, {L"PACKAGE_COUNT", textLanguage}};
    for (const wchar_t* base : {L"PRODUCT_NAME", L"PRODUCT_CODE", L"PACKAGE_CODE"}) {
        for (long i = 0; i < packages; ++i) required.emplace_back(FormatText(L"%s_%d", base, i), textLanguage);
    }
    for (long i = 0; i < packages; ++i) {
        required.emplace_back(FormatText(L"%s_%d", L"PACKAGE", i), L"");
        if (multi) {
            for (const wchar_t* language : {L"1031", L"1034", L"1041"}) {
                required.emplace_back(FormatText(L"%s_%d_%s", L"PACKAGE", i, language), language);
            }
        }
    }
    for (const auto& [name, language] : required) {
        if (!module_.Exists(kResourceTypeCatalogue, name, language)) return false;
    }
    return true;
}
