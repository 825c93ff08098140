#pragma once
// Reads the package catalogue into package records: from the launcher's
// type-40 resources, or from a JSON workload file when the launcher carries
// no packages.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/SetupAppCommandLineInfo.h"
#include "app/SetupLog.h"
#include "app/SetupPackage.h"

struct CatalogueSources {
    // A mandatory text: a missing one is reported by the caller and reads empty.
    std::function<std::wstring(const std::wstring&)> mandatoryText;
    // An optional text: empty optional when missing.
    std::function<std::optional<std::wstring>(const std::wstring&)> optionalText;
};

// Fills packages (emptied first); false when the catalogue is unusable.
bool ReadPackageCatalogue(const CatalogueSources& sources, const CSetupAppCommandLineInfo& commandLine, SetupLog& log,
                          std::vector<std::unique_ptr<SetupPackage>>& packages);
