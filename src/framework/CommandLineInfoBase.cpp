#include "framework/CommandLineInfoBase.h"

namespace fw {

void FeedArguments(CCommandLineInfoBase& info, const std::vector<std::wstring>& argv) {
    for (size_t i = 1; i < argv.size(); ++i) {
        const std::wstring& arg = argv[i];
        const bool isSwitch = !arg.empty() && (arg[0] == L'/' || arg[0] == L'-');
        const bool isLast = i + 1 == argv.size();
        info.ParseParam(isSwitch ? arg.substr(1) : arg, isSwitch, isLast);
    }
}

}  // namespace fw
