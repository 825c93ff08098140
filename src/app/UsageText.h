#pragma once
// The help text of the launcher and the properties it knows: the usage
// model (commands and their options), the property groups of the product,
// the check of the command-line properties, and the layout of the text for
// an 80-column console. Portable: strings come through a loader.
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Loads a string of the current UI language by id.
using StringLoader = std::function<std::wstring(unsigned id)>;

struct UsageOption {
    std::wstring text;
    unsigned titleId;        // for a property: the id of its placeholder text
    unsigned descriptionId;
};

struct UsageCommand {
    std::wstring text;
    unsigned descriptionId;
    std::vector<const UsageOption*> options;  // shared between commands
};

struct UsageModel {
    std::vector<std::unique_ptr<UsageOption>> options;
    std::vector<UsageCommand> commands;
};

struct PropertyGroup {
    unsigned headingId;
    std::vector<UsageOption> properties;  // text = property name
};

// The commands and options; the language option only for a multi-language
// catalogue, the sub-packages option only for more than one package.
UsageModel BuildUsageModel(const StringLoader& strings, bool multiLanguage, long packageCount);

// The property groups a product knows, chosen by the prefix of its name.
std::vector<PropertyGroup> BuildPropertyGroups(const std::wstring& productName);

// The whole help text.
std::wstring FormatUsageText(const UsageModel& model, const std::vector<PropertyGroup>& groups,
                             const StringLoader& strings, const std::wstring& programName);

// Lays text out for an 80-column console with indent blanks; "%s" is
// replaced by replacement (dropped when there is none).
std::wstring WrapUsageText(const std::wstring& text, size_t indent, const std::wstring* replacement = nullptr);

struct PropertyCheck {
    bool valid = true;
    std::wstring errors;                 // one line per invalid property
    std::vector<std::wstring> unknown;   // names of properties the product does not know
};

// Checks the NAME=VALUE properties of the command line against the groups:
// port numbers must be numeric; unknown names are reported, not refused.
PropertyCheck CheckProperties(const std::vector<std::wstring>& properties, const std::vector<PropertyGroup>& groups,
                              const StringLoader& strings);
