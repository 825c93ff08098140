// A child process for the process-start tests:
//   process_helper sleep        never ends by itself
//   process_helper env NAME     exits with the number in environment variable NAME
//   process_helper exit N       exits with N
//   process_helper mutex NAME   holds the named mutex, says "ready" and waits
//   process_helper boxes N      answers N dialog boxes of other programs: for
//                               each, prints "title<TAB>text" (UTF-8, line
//                               breaks as \n), waits for a line on its input,
//                               then presses OK; exits -5 when no box shows
//                               within a minute
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        if (c == L'\n') {
            out += "\\n";
            continue;
        }
        char bytes[8];
        const int n = ::WideCharToMultiByte(CP_UTF8, 0, &c, 1, bytes, sizeof bytes, nullptr, nullptr);
        out.append(bytes, static_cast<size_t>(n > 0 ? n : 0));
    }
    return out;
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[4096] = {};
    if (window) ::GetWindowTextW(window, buffer, 4096);
    return buffer;
}

struct BoxSearch {
    std::vector<HWND>* answered;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wcscmp(name, L"#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
    for (HWND seen : *search->answered) {
        if (seen == window) return TRUE;
    }
    search->found = window;
    return FALSE;
}

int AnswerBoxes(int count) {
    std::vector<HWND> answered;
    for (int i = 0; i < count; ++i) {
        BoxSearch search{&answered, nullptr};
        for (int tries = 0; tries < 600 && !search.found; ++tries) {
            ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
            if (!search.found) ::Sleep(100);
        }
        if (!search.found) return -5;
        const HWND box = search.found;
        // A message box's text is the static control with id 0xFFFF.
        std::printf("%s\t%s\n", Utf8(WindowText(box)).c_str(), Utf8(WindowText(::GetDlgItem(box, 0xFFFF))).c_str());
        std::fflush(stdout);
        char line[64];
        if (!std::fgets(line, sizeof line, stdin)) line[0] = 0;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int tries = 0; tries < 100 && ::IsWindow(box); ++tries) ::Sleep(100);
        answered.push_back(box);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "sleep") == 0) {
        ::Sleep(INFINITE);
    }
    if (argc >= 3 && std::strcmp(argv[1], "env") == 0) {
        const char* value = std::getenv(argv[2]);
        return value ? std::atoi(value) : -2;
    }
    if (argc >= 3 && std::strcmp(argv[1], "exit") == 0) return std::atoi(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "mutex") == 0) {
        if (!::CreateMutexA(nullptr, TRUE, argv[2])) return -4;
        std::puts("ready");
        std::fflush(stdout);
        ::Sleep(INFINITE);
    }
    if (argc >= 3 && std::strcmp(argv[1], "boxes") == 0) return AnswerBoxes(std::atoi(argv[2]));
    return -3;
}
