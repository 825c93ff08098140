#include "framework/Dialog.h"

#include "framework/MessageLoop.h"

namespace fw {

CDialog::~CDialog() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

INT_PTR CDialog::DoModal() {
    ended_ = false;
    stayHidden_ = false;
    result_ = -1;
    const bool disableOwner = parent_ && ::IsWindowEnabled(parent_);
    if (disableOwner) ::EnableWindow(parent_, FALSE);
    ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_, Dispatch,
                         reinterpret_cast<LPARAM>(this));
    if (hwnd_ && !ended_ && !stayHidden_) ::ShowWindow(hwnd_, SW_SHOW);
    if (hwnd_) RunModalLoop([this] { return ended_; });
    if (disableOwner) ::EnableWindow(parent_, TRUE);
    if (hwnd_) ::DestroyWindow(hwnd_);
    return result_;
}

void CDialog::EndDialog(INT_PTR result) {
    ended_ = true;
    result_ = result;
    // Wakes the modal loop, which checks for the end only between messages.
    if (hwnd_) ::PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void CDialog::StayHidden() {
    stayHidden_ = true;
    if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
}

bool CDialog::OnCommand(WORD, WORD, HWND) { return false; }

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK CDialog::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->hwnd_ = window;
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        return self->OnInitDialog();
    }
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return FALSE;
    }
    if (message == WM_COMMAND) {
        const WORD id = LOWORD(wParam);
        if (id == IDOK) {
            self->OnOK();
            return TRUE;
        }
        if (id == IDCANCEL) {
            self->OnCancel();
            return TRUE;
        }
        if (self->OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return TRUE;
    }
    INT_PTR result = 0;
    if (self->OnMessage(message, wParam, lParam, result)) {
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    return FALSE;
}

}  // namespace fw
