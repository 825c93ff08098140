#pragma once
// The command-line object of an application: it is fed the process's
// arguments one at a time, after the program name, in order.
#include <string>
#include <vector>

namespace fw {

class CCommandLineInfoBase {
public:
    virtual ~CCommandLineInfoBase() = default;

    // text: the argument without its leading '/' or '-' when it is a switch.
    virtual void ParseParam(const std::wstring& text, bool isSwitch, bool isLast) = 0;
};

// Splits a command line by the platform's rules (quotes group blanks and are
// removed). The first element is the program name.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// Feeds every argument after the program name to info.
void FeedArguments(CCommandLineInfoBase& info, const std::vector<std::wstring>& argv);

}  // namespace fw
