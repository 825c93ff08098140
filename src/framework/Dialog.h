#pragma once
// Modal dialogs from dialog templates, with a message loop of their own (the
// application's loop never runs while one is up). A quit message ends the
// modal run and is posted again for whoever runs next.
#include <windows.h>

namespace fw {

class CDialog {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr) : templateId_(templateId), parent_(parent) {}
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog from its template and runs it until EndDialog or a
    // quit message; returns the value given to EndDialog, -1 otherwise. The
    // window is shown after OnInitDialog unless that asked to stay hidden.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    // From OnInitDialog: the modal run starts with the window hidden.
    void StayHidden();

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A command of a control other than IDOK and IDCANCEL; true when handled.
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    // Any other message; true (with result) when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

private:
    static INT_PTR CALLBACK Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
    bool ended_ = false;
    bool stayHidden_ = false;
    INT_PTR result_ = -1;
};

}  // namespace fw
