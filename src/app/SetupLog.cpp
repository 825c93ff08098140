#include "app/SetupLog.h"

#include <msi.h>

int SetupLog::LevelFromMode(uint32_t mode) {
    int level = 0;
    if (mode & INSTALLLOGMODE_ERROR) level = 1;
    if (mode & INSTALLLOGMODE_WARNING) level = 2;
    if (mode & INSTALLLOGMODE_INFO) level = 3;
    if (mode & INSTALLLOGMODE_VERBOSE) level = 4;
    return level;
}

void SetupLog::Configure(const std::wstring& fileName, uint32_t mode, uint32_t attributes) {
    fileName_ = fileName;
    mode_ = mode;
    attributes_ = attributes;
    level_ = LevelFromMode(mode);
}

bool SetupLog::OpenFile(DWORD disposition) {
    file_.reset(::CreateFileW(fileName_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_.valid()) return false;
    ::SetFilePointer(file_.get(), 0, nullptr, FILE_END);
    return true;
}

bool SetupLog::Open() {
    if (fileName_.empty()) return false;
    return OpenFile((attributes_ & kLogAttributeAppend) ? OPEN_ALWAYS : CREATE_ALWAYS);
}

void SetupLog::Close() {
    if (file_.valid()) ::FlushFileBuffers(file_.get());
    file_.reset();
}

bool SetupLog::WriteText(int level, std::wstring_view text) {
    if (!file_.valid() || level > level_ || text.empty()) return true;
    // wchar_t is UTF-16 on Windows: the bytes are the file format.
    DWORD written = 0;
    ::WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::FlushFileBuffers(file_.get());
    return true;
}

void SetupLog::HandOverToInstaller() {
    if (file_.valid()) {
        WriteText(1, L"\r\n");
        Close();
    }
    if (!fileName_.empty()) {
        // Always appending: the file already holds the launcher's lines (it
        // was replaced when the launcher opened it without /L+), and without
        // the append attribute Windows Installer would start the file anew
        // and lose them. The flush attribute is not passed on.
        ::MsiEnableLogW(mode_, fileName_.c_str(), INSTALLLOGATTRIBUTES_APPEND);
    }
}

void SetupLog::TakeBack() {
    if (!file_.valid() && !fileName_.empty()) OpenFile(OPEN_ALWAYS);
}

std::wstring LocalTimeText() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return FormatText(L"%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}
