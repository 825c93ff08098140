#include "app/SetupAppCommandLineInfo.h"

#include <algorithm>

#include "base/TextFormat.h"
#include "base/TextUtil.h"

namespace {

std::wstring StripBlanksAndTabs(const std::wstring& s) {
    const size_t first = s.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    const size_t last = s.find_last_not_of(L" \t");
    return s.substr(first, last - first + 1);
}

std::wstring StripQuotes(std::wstring s) {
    if (!s.empty() && s.front() == L'"') s.erase(0, 1);
    if (!s.empty() && s.back() == L'"') s.pop_back();
    return s;
}

bool StartsWithLetter(const std::wstring& text, wchar_t lower) {
    return !text.empty() && FoldAsciiCase(text[0]) == lower;
}

// The bits the letters of a switch add; letters are matched exactly.
struct LetterBit {
    wchar_t letter;
    uint32_t bit;
};

template <size_t N>
uint32_t BitOf(const LetterBit (&table)[N], wchar_t letter) {
    for (const LetterBit& entry : table) {
        if (entry.letter == letter) return entry.bit;
    }
    return 0;  // other letters are ignored
}

// Windows Installer reinstall-mode bits of the /f letters.
constexpr LetterBit kReinstallLetters[] = {{L'p', 2},   {L'o', 4},   {L'e', 8},   {L'd', 16},  {L'c', 32},
                                           {L'a', 64},  {L'm', 128}, {L'u', 256}, {L's', 512}, {L'v', 1024}};

// Windows Installer log-mode bits of the /L letters.
constexpr LetterBit kLogLetters[] = {{L'm', 1},   {L'e', 2},   {L'w', 4},    {L'u', 8},    {L'i', 16},   {L'o', 128},
                                     {L'a', 256}, {L'r', 512}, {L'c', 2048}, {L'v', 4096}, {L'x', 8192}, {L'*', kLogModeAll}};

}  // namespace

void CSetupAppCommandLineInfo::ParseParam(const std::wstring& text, bool isSwitch, bool isLast) {
    if (isSwitch) {
        ParseSwitch(text);
    } else if (!transformsTaken_ && StartsWithNoCase(text, L"TRANSFORMS=")) {
        transforms_ = text.substr(11);
        transformsTaken_ = true;
    } else if (StartsWithNoCase(text, L"lang=")) {
        language_ = text.substr(5);
    } else if (StartsWithNoCase(text, L"subPackages=")) {
        subPackages_ = StripQuotes(text.substr(12));
        if (EqualsNoCase(subPackages_, L"all")) subPackages_.clear();
    } else if (StartsWithNoCase(text, L"workload=")) {
        workload_ = StripQuotes(text.substr(9));
    } else if (mifFilePending_ && mifFile_.empty()) {
        mifFile_ = text;
        mifFilePending_ = false;
    } else if (logFilePending_ && logFile_.empty()) {
        logFile_ = text;
        logFilePending_ = false;
    } else if (!ParseProperty(text)) {
        syntaxError_ = true;
    }
    if (isLast) EndOfParsing();
}

bool CSetupAppCommandLineInfo::TakeModeSwitch(bool& mode) {
    const int others = (administrative_ ? 1 : 0) + (repair_ ? 1 : 0) + (uninstall_ ? 1 : 0) + (extract_ ? 1 : 0) - (mode ? 1 : 0);
    if (others > 0) {
        syntaxError_ = true;
        return false;
    }
    mode = true;
    return true;
}

void CSetupAppCommandLineInfo::ParseSwitch(const std::wstring& text) {
    if (EqualsNoCase(text, L"?") || EqualsNoCase(text, L"h")) {
        help_ = true;
    } else if (EqualsNoCase(text, L"a")) {
        TakeModeSwitch(administrative_);
    } else if (StartsWithLetter(text, L'f')) {
        if (TakeModeSwitch(repair_)) ParseRepair(text);
    } else if (EqualsNoCase(text, L"x")) {
        TakeModeSwitch(uninstall_);
    } else if (StartsWithLetter(text, L'q')) {
        ParseUILevel(text);
    } else if (EqualsNoCase(text, L"u")) {
        TakeModeSwitch(extract_);
    } else if (StartsWithLetter(text, L'l')) {
        ParseLogging(text);
    } else if (EqualsNoCase(text, L"m")) {
        mifFilePending_ = true;
    } else if (EqualsNoCase(text, L"v")) {
        validate_ = true;
    } else {
        syntaxError_ = true;
    }
}

void CSetupAppCommandLineInfo::ParseRepair(const std::wstring& text) {
    if (text.size() == 1) {
        reinstallMode_ = kReinstallModeDefault;
        return;
    }
    for (size_t i = 1; i < text.size(); ++i) reinstallMode_ |= BitOf(kReinstallLetters, text[i]);
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
        if (text[i] == L'+') logAttributes_ |= kLogAttributeAppend;
        if (text[i] == L'!') logAttributes_ |= kLogAttributeFlush;
        logMode_ |= BitOf(kLogLetters, text[i]);
    }
}

bool CSetupAppCommandLineInfo::ParseProperty(const std::wstring& text) {
    const size_t eq = text.find(L'=');
    if (eq == std::wstring::npos) return false;
    const std::wstring name = StripBlanksAndTabs(text.substr(0, eq));
    std::wstring value = StripBlanksAndTabs(text.substr(eq + 1));
    // A property without a name would reach Windows Installer as "=value".
    if (name.empty()) return false;
    if (name == L"FASTOEM" && value == L"1") fastOem_ = true;
    if (name == L"ALLUSERS" && value == L"1") allUsers_ = true;
    if (value.empty()) {
        value = L"\"\"";
    } else if (value.find(L' ') != std::wstring::npos && value[0] != L'"') {
        value = L"\"" + value + L"\"";
    }
    properties_.push_back(name + L"=" + value);
    return true;
}

void CSetupAppCommandLineInfo::EndOfParsing() {
    const bool quiet = (uiLevel_ & 2) != 0;
    if (!administrative_ && !repair_ && !uninstall_ && quiet && allUsers_) {
        keepFastOem_ = fastOem_;
        return;
    }
    RemoveProperty(FormatText(L"%s=%s", L"FASTOEM", L"1"));
}

void CSetupAppCommandLineInfo::RemoveProperty(const std::wstring& property) {
    properties_.erase(std::remove(properties_.begin(), properties_.end(), property), properties_.end());
}

std::wstring MaskCommandLineSecrets(const std::wstring& commandLine) {
    static const std::wstring kSecretSuffix = L"_Service_Password";
    std::wstring out;
    out.reserve(commandLine.size());
    size_t i = 0;
    const size_t n = commandLine.size();
    while (i < n) {
        if (commandLine[i] == L' ' || commandLine[i] == L'\t') {
            out += commandLine[i++];
            continue;
        }
        // One argument: up to the next blank outside quotes.
        size_t end = i;
        bool quoted = false;
        while (end < n && (quoted || (commandLine[end] != L' ' && commandLine[end] != L'\t'))) {
            if (commandLine[end] == L'"') quoted = !quoted;
            ++end;
        }
        const std::wstring arg = commandLine.substr(i, end - i);
        const size_t eq = arg.find(L'=');
        std::wstring name = eq == std::wstring::npos ? std::wstring() : arg.substr(0, eq);
        name.erase(std::remove(name.begin(), name.end(), L'"'), name.end());
        name = StripBlanksAndTabs(name);
        if (name.size() >= kSecretSuffix.size() &&
            name.compare(name.size() - kSecretSuffix.size(), kSecretSuffix.size(), kSecretSuffix) == 0) {
            const bool opened = std::count(arg.begin(), arg.begin() + static_cast<std::ptrdiff_t>(eq), L'"') % 2 == 1;
            out += arg.substr(0, eq + 1);
            out += L"***";
            if (opened) out += L'"';
        } else {
            out += arg;
        }
        i = end;
    }
    return out;
}
