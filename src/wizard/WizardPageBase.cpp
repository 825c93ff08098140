#include "wizard/WizardPageBase.h"

#include "app/SetupApp.h"
#include "wizard/WizardDialog.h"

WizardPageBase::WizardPageBase(const std::wstring& pageName, CWizardDialog& wizard)
    : wizard_(wizard), languages_(wizard.Languages()), pageName_(pageName) {}

void WizardPageBase::LogActivation() const { WriteLog(3, L"QVR (c): Activating dialog %s\r\n", pageName_); }

void WizardPageBase::Activate() {
    LogActivation();
    ::ShowWindow(wizard_.Item(CWizardDialog::kLanguageBox), SW_HIDE);
    for (int id : {CWizardDialog::kBackButton, IDOK, IDCANCEL}) ::EnableWindow(wizard_.Item(id), TRUE);
    OnActivated();
    wizard_.UpdateTexts();
    if (!wizard_.ShowUI()) wizard_.Next();
}

void WizardPageBase::Deactivate() {
    WriteLog(3, L"QVR (c): Deactivating dialog %s\r\n", pageName_);
    if (Handle()) ::ShowWindow(Handle(), SW_HIDE);
}

bool WizardPageBase::OnCancelRequest() {
    wizard_.SetInstallerResult(1602);
    return true;
}

void WizardPageBase::ShowPage() { ::ShowWindow(Handle(), SW_SHOW); }

HWND WizardPageBase::CreateText(int left, int top, int right, int bottom, HFONT font, DWORD style) {
    const HWND text = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | style, left, top, right - left, bottom - top,
                                        Handle(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0xFFFF)),
                                        ::GetModuleHandleW(nullptr), nullptr);
    if (text && font) ::SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return text;
}

LRESULT WizardPageBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = Default(message, wParam, lParam);
        RECT client;
        ::GetClientRect(Handle(), &client);
        CreateControls(Handle(), client.right, client.bottom);
        Deactivate();
        return result;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
        // Every control of every page draws on white.
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(wizard_.WhiteBrush());
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(Handle(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, wizard_.WhiteBrush());
        return TRUE;
    }
    default:
        return Default(message, wParam, lParam);
    }
}
