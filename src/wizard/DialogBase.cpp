#include "wizard/DialogBase.h"

#include "app/SetupApp.h"

namespace {

constexpr int kBackgroundBitmap = 132;
constexpr int kSeparator = -1;

HFONT MakeFont(const wchar_t* face, int points, int weight) {
    const HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return ::CreateFontIndirectW(&font);
}

}  // namespace

CDialogBase::CDialogBase(UINT templateId, HWND parent, bool drawBackground)
    : fw::CDialog(templateId, parent),
      app_(CSetupApp::Get()),
      languages_(CSetupApp::Get().Languages()),
      drawBackground_(drawBackground) {}

void CDialogBase::CreateFonts() {
    if (!titleFont_) titleFont_.reset(MakeFont(L"Tahoma", 9, FW_BOLD));
    if (!smallTitleFont_) smallTitleFont_.reset(MakeFont(L"Tahoma", 8, FW_BOLD));
    if (!textFont_) textFont_.reset(MakeFont(L"Tahoma", 9, FW_NORMAL));
    if (!smallTextFont_) smallTextFont_.reset(MakeFont(L"Tahoma", 8, FW_NORMAL));
    if (!tinyFont_) tinyFont_.reset(MakeFont(L"Arial", 7, FW_NORMAL));
}

BOOL CDialogBase::OnInitDialog() {
    background_.reset(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kBackgroundBitmap),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    CreateFonts();
    return TRUE;
}

bool CDialogBase::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_ERASEBKGND || !drawBackground_) return false;
    const HDC dc = reinterpret_cast<HDC>(wParam);
    RECT client;
    ::GetClientRect(Handle(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    // The picture fills everything above the separator line.
    RECT separator{};
    if (const HWND line = Item(kSeparator)) {
        ::GetWindowRect(line, &separator);
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&separator), 2);
    }
    BITMAP info{};
    if (background_ && ::GetObjectW(background_.get(), sizeof info, &info)) {
        const HDC memory = ::CreateCompatibleDC(dc);
        const HGDIOBJ old = ::SelectObject(memory, background_.get());
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, 0, 0, client.right, separator.top, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    result = TRUE;
    return true;
}
