#pragma once
// Windows whose messages reach a virtual handler of a C++ object: windows of
// the framework's own class, created here and destroyed with their object.
#include <windows.h>

namespace fw {

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // A window of the framework's class; the object receives its messages
    // from WM_NCCREATE on (so the WM_CREATE handler already runs here).
    bool Create(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent, UINT id);
    HWND Handle() const { return hwnd_; }
    void Destroy();

protected:
    // Every message of the window; the default handling is the system's.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace fw
