#pragma once
// Unpacking the packages a run needs into their cache folders, with the
// language transform beside each, and removing cache folders a run no
// longer needs.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/CabinetExtractor.h"
#include "app/SetupPackage.h"

class CSetupApp;

// Where the extraction tells which package it is reading (the extraction
// page's status line).
class ExtractionStatusIF {
public:
    virtual ~ExtractionStatusIF() = default;
    virtual void SetStatusText(const std::wstring& text) = 0;
};

// What an extraction needs to know about the run.
struct ExtractionSettings {
    // A multi-language launcher installing or modifying in a language other
    // than English writes the package's transform for that language.
    bool writeLanguageTransform = false;
    std::wstring languageId;  // decimal LANGID, as in "PACKAGE_0_1031"
    std::wstring suffix;      // "_de", "_es", "_fr" or "_ja"
    // The status text for a package: string 5 of the UI language.
    std::wstring statusFormat;

    static ExtractionSettings ForRun(CSetupApp& app);
};

// 0; 1603 after a cancel (the launcher result becomes 3); 11 when the disk is
// full; 1620 when the cabinet cannot be unpacked or is not the package the
// catalogue names. resources: the module holding the package resources
// (null: the launcher itself).
int ExtractPackage(SetupPackage& package, VEZACabinetProgressCallbacks* progress, const ExtractionSettings& settings,
                   ExtractionStatusIF* status = nullptr, HMODULE resources = nullptr);

struct ExtractionEntry {
    SetupPackage* package;
    uint64_t size;  // bytes to read, for progress only
};

// Nothing for a repair; otherwise every selected package without package
// file, in catalogue order.
std::vector<ExtractionEntry> BuildExtractionList(const std::vector<std::unique_ptr<SetupPackage>>& packages, bool repair,
                                                 HMODULE resources = nullptr);

// Deletes the cache folder of every package that is not installed.
void DeleteExtractedPackageFolders(const std::vector<std::unique_ptr<SetupPackage>>& packages);
