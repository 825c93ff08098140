#pragma once
// The launcher's dialogs: the application, its languages, the five fonts
// every page uses, and the background picture above the separator line.
#include <windows.h>

#include "framework/Dialog.h"
#include "framework/UniqueHandle.h"

class CSetupApp;
class LanguageTable;

class CDialogBase : public fw::CDialog {
public:
    CDialogBase(UINT templateId, HWND parent, bool drawBackground);

    CSetupApp& App() const { return app_; }
    LanguageTable& Languages() const { return languages_; }
    HFONT TitleFont() const { return titleFont_.get(); }
    HFONT SmallTitleFont() const { return smallTitleFont_.get(); }
    HFONT TextFont() const { return textFont_.get(); }
    HFONT SmallTextFont() const { return smallTextFont_.get(); }
    HFONT TinyFont() const { return tinyFont_.get(); }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void CreateFonts();

    CSetupApp& app_;
    LanguageTable& languages_;
    bool drawBackground_;
    fw::UniqueGdiObject<HBITMAP> background_;
    fw::UniqueGdiObject<HFONT> titleFont_;
    fw::UniqueGdiObject<HFONT> smallTitleFont_;
    fw::UniqueGdiObject<HFONT> textFont_;
    fw::UniqueGdiObject<HFONT> smallTextFont_;
    fw::UniqueGdiObject<HFONT> tinyFont_;
};
