#include "framework/CommandLineInfoBase.h"

#include <windows.h>
#include <shellapi.h>

namespace fw {

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> args;
    if (commandLine.empty()) return args;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine.c_str(), &count);
    if (!argv) return args;
    args.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) args.emplace_back(argv[i]);
    ::LocalFree(argv);
    return args;
}

void FeedArguments(CCommandLineInfoBase& info, const std::vector<std::wstring>& argv) {
    for (size_t i = 1; i < argv.size(); ++i) {
        const std::wstring& arg = argv[i];
        const bool isSwitch = !arg.empty() && (arg[0] == L'/' || arg[0] == L'-');
        const bool isLast = i + 1 == argv.size();
        info.ParseParam(isSwitch ? arg.substr(1) : arg, isSwitch, isLast);
    }
}

}  // namespace fw
