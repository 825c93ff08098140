#pragma once
// The launcher's dialogs: the application, its languages, the five fonts
// every page uses, and the background picture above the separator line.
#include <windows.h>

#include "framework/Dialog.h"

class CSetupApp;
class LanguageTable;

class CDialogBase : public fw::CDialog {
public:
    CDialogBase(UINT templateId, HWND parent, bool drawBackground);
    ~CDialogBase() override;

    CSetupApp& App() const { return app_; }
    LanguageTable& Languages() const { return languages_; }
    HFONT TitleFont() const { return titleFont_; }
    HFONT SmallTitleFont() const { return smallTitleFont_; }
    HFONT TextFont() const { return textFont_; }
    HFONT SmallTextFont() const { return smallTextFont_; }
    HFONT TinyFont() const { return tinyFont_; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void CreateFonts();

    CSetupApp& app_;
    LanguageTable& languages_;
    bool drawBackground_;
    HBITMAP background_ = nullptr;
    HFONT titleFont_ = nullptr;
    HFONT smallTitleFont_ = nullptr;
    HFONT textFont_ = nullptr;
    HFONT smallTextFont_ = nullptr;
    HFONT tinyFont_ = nullptr;
};
