#pragma once
// The package catalogue as the launcher carries it: named resources of type
// 40 holding UTF-16LE texts (with a terminating zero) and package data.
#include <windows.h>
#include <optional>
#include <string>

#include "base/ResourceAccess.h"

class CatalogueResources {
public:
    explicit CatalogueResources(HMODULE module = ::GetModuleHandleW(nullptr)) : module_(module) {}

    // A catalogue is multi-language when "PACKAGE_0_1031" exists in language 1031.
    bool IsMultiLanguage() const;

    // Multi-language: the text in language 1033, always found (empty when
    // missing). Single-language: the text in any language, absent when missing.
    std::optional<std::wstring> ReadCatalogueResource(const std::wstring& name) const;

    // The language a single-language catalogue is stored in: the language of
    // its "OS" resource.
    std::optional<LANGID> StoredLanguage() const;

    // Every resource a build needs exists (the /v switch).
    bool ValidateResources() const;

    const ResourceModule& Module() const { return module_; }

private:
    ResourceModule module_;
};

// The text of a type-40 text resource: UTF-16LE up to the first zero.
std::wstring CatalogueText(const uint8_t* data, size_t size);
