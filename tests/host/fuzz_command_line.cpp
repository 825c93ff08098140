// Fuzzes the command-line parser, the property check and the masking of the
// logged command line. Each input line is one argument.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "app/SetupAppCommandLineInfo.h"
#include "app/UsageText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = WidenBytes(data, size);
    std::vector<std::wstring> argv{L"setup.exe"};
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == L'\n') {
            argv.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    CSetupAppCommandLineInfo info;
    fw::FeedArguments(info, argv);

    const auto groups = BuildPropertyGroups(L"Quelto Skedra Server 2026");
    const StringLoader strings = [](unsigned id) { return id == 1310 ? std::wstring(L"Error: Parameter %s must be numeric") : std::wstring(); };
    CheckProperties(info.Properties(), groups, strings);

    std::wstring line;
    for (const auto& a : argv) line += a + L" ";
    // The masking's meaning is checked by the unit table; here it must only
    // survive any text (quotes left open, stray separators).
    MaskCommandLineSecrets(line);
    return 0;
}
