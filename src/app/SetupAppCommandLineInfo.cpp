#include "app/SetupAppCommandLineInfo.h"

#include "app/SetupLog.h"
#include "base/TextUtil.h"

void CSetupAppCommandLineInfo::ParseParam(const std::wstring& text, bool isSwitch, bool /*isLast*/) {
    if (isSwitch) {
        ParseSwitch(text);
    } else if (StartsWithNoCase(text, L"lang=")) {
        language_ = text.substr(5);
    } else if (logFilePending_ && logFile_.empty()) {
        logFile_ = text;
        logFilePending_ = false;
    } else {
        syntaxError_ = true;
    }
}

void CSetupAppCommandLineInfo::ParseSwitch(const std::wstring& text) {
    if (EqualsNoCase(text, L"?") || EqualsNoCase(text, L"h")) {
        help_ = true;
    } else if (!text.empty() && (text[0] == L'q' || text[0] == L'Q')) {
        ParseUILevel(text);
    } else if (!text.empty() && (text[0] == L'l' || text[0] == L'L')) {
        ParseLogging(text);
    } else if (EqualsNoCase(text, L"v")) {
        validate_ = true;
    } else {
        syntaxError_ = true;
    }
}

void CSetupAppCommandLineInfo::ParseUILevel(const std::wstring& text) {
    const std::wstring rest = text.substr(1);
    if (rest.empty()) {
        uiLevel_ = kUILevelNone;
        return;
    }
    if (rest == L"+") {
        uiLevel_ = kUILevelNone + kUILevelEndDialog;
        return;
    }
    int32_t level = 0;
    switch (rest[0]) {
    case L'n': level = kUILevelNone; break;
    case L'b': level = kUILevelBasic; break;
    case L'r': level = kUILevelReduced; break;
    case L'f': level = kUILevelFull; break;
    default: syntaxError_ = true; return;
    }
    if (rest.size() == 1) {
        uiLevel_ = level;
    } else if (rest.size() == 2 && rest[1] == L'+') {
        uiLevel_ = level + kUILevelEndDialog;
    } else {
        syntaxError_ = true;
    }
}

void CSetupAppCommandLineInfo::ParseLogging(const std::wstring& text) {
    logFilePending_ = true;
    if (text.size() == 1) return;
    logMode_ = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        switch (FoldAsciiCase(text[i])) {
        case L'm': logMode_ |= 1; break;
        case L'e': logMode_ |= 2; break;
        case L'w': logMode_ |= 4; break;
        case L'u': logMode_ |= 8; break;
        case L'i': logMode_ |= 16; break;
        case L'o': logMode_ |= 128; break;
        case L'a': logMode_ |= 256; break;
        case L'r': logMode_ |= 512; break;
        case L'c': logMode_ |= 2048; break;
        case L'v': logMode_ |= 4096; break;
        case L'x': logMode_ |= 8192; break;
        case L'*': logMode_ |= 3999; break;
        case L'+': logAttributes_ |= kLogAttributeAppend; break;
        case L'!': logAttributes_ |= kLogAttributeFlush; break;
        default: break;  // other letters are ignored
        }
    }
}
