#pragma once
// A page of the wizard: a child window of the wizard's page area, built in
// code. The wizard activates and deactivates its pages and asks them before
// it moves on, goes back or cancels.
#include <windows.h>

#include <string>

#include "framework/Window.h"

class CWizardDialog;
class LanguageTable;

class WizardPageBase : public fw::CWindow {
public:
    WizardPageBase(const std::wstring& pageName, CWizardDialog& wizard);
    ~WizardPageBase() override = default;

    const std::wstring& PageName() const { return pageName_; }

    // The page becomes current: logs it, hides the language choice, enables
    // the buttons, runs OnActivated and the texts, and in a hidden wizard (or
    // a quick install) passes on at once.
    virtual void Activate();
    // The page stops being current: logs it and hides the page.
    virtual void Deactivate();
    virtual bool OnNext() { return true; }
    // Records a user cancellation and lets the cancel proceed.
    virtual bool OnCancelRequest();
    virtual bool OnBack() { return true; }
    virtual void OnActivated() {}
    virtual void CreateControls(HWND parent, int width, int height) = 0;
    virtual void UpdateTexts() = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LogActivation() const;
    // A visible static text control in the page (id 0xFFFF).
    HWND CreateText(int left, int top, int right, int bottom, HFONT font, DWORD style = SS_LEFT);
    void ShowPage();

    CWizardDialog& wizard_;
    LanguageTable& languages_;

private:
    std::wstring pageName_;
};
