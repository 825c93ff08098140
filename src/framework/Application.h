#pragma once
// The application base: one object per process, reachable through Current().
// Run() calls InitInstance; when that returns false ExitInstance runs at once,
// otherwise the message loop runs until the quit message first. The value
// ExitInstance returns is the process exit code.
#include <windows.h>
#include <string>

#include "framework/CommandLineInfoBase.h"

namespace fw {

class CApplication {
public:
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    static CApplication* Current() { return current_; }

    virtual bool InitInstance() { return true; }
    // The framework's own exit handling: returns the wParam of the last quit
    // message the message loop saw.
    virtual int ExitInstance() { return quitCode_; }

    int Run();

    // Splits the process command line and feeds its arguments to info.
    void ParseCommandLine(CCommandLineInfoBase& info);

    DWORD MainThreadId() const { return mainThreadId_; }
    HINSTANCE Instance() const { return instance_; }

    const std::wstring& AppName() const { return appName_; }
    void SetAppName(const std::wstring& name) { appName_ = name; }

protected:
    void SetQuitCode(int code) { quitCode_ = code; }

private:
    static CApplication* current_;
    DWORD mainThreadId_;
    HINSTANCE instance_;
    std::wstring appName_;
    int quitCode_ = 0;
};

}  // namespace fw
