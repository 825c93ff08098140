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
//   process_helper drive        drives another program's dialog by commands
//                               read line by line (see Drive below)
//   process_helper windows S    lists the titles of visible top-level windows
//                               that show up within S seconds
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>
#include <utility>
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

// The first visible top-level dialog whose title is title.
HWND FindDialog(const std::wstring& title) {
    struct Search {
        const std::wstring* title;
        HWND found;
    } search{&title, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (std::wcscmp(name, L"#32770") != 0 || !::IsWindowVisible(window) || WindowText(window) != *s->title) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring Widen(const std::string& text) {
    std::wstring out(text.size() + 1, L'\0');
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return out;
}

// Commands, one per line; each answers with one line ("ok", a text, or
// "error ..."), "texts" with one line per text and then "end":
//   wait TITLE      waits (up to a minute) for the dialog titled TITLE
//   gone            waits (up to a minute) until that dialog has closed
//   texts           the visible static texts inside the dialog, top to bottom
//   status          waits until some visible text starts with "Reading", prints it
//   item ID         the text of the dialog's control ID
//   enabled ID      1 or 0
//   click ID        presses the button ID
//   escape          sends the Escape key to the dialog
//   quit            posts a quit message to the dialog's thread
//   rect            the dialog's screen rectangle: "x y width height"
//   choose ID TEXT  selects TEXT in the combo box ID as a user would
//   visible ID      1 or 0
int Drive() {
    HWND dialog = nullptr;
    std::wstring title;
    char line[1024];
    auto say = [](const std::string& text) {
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    };
    auto texts = [&dialog] {
        std::vector<std::pair<int, std::wstring>> found;
        struct Context {
            HWND dialog;
            std::vector<std::pair<int, std::wstring>>* found;
        } context{dialog, &found};
        ::EnumChildWindows(
            dialog,
            [](HWND child, LPARAM data) -> BOOL {
                auto* c = reinterpret_cast<Context*>(data);
                wchar_t name[32] = {};
                ::GetClassNameW(child, name, 32);
                const std::wstring text = WindowText(child);
                if (_wcsicmp(name, L"Static") == 0 && ::IsWindowVisible(child) && !text.empty()) {
                    RECT box;
                    ::GetWindowRect(child, &box);
                    c->found->push_back({box.top * 10000 + box.left, text});
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&context));
        std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        return found;
    };
    while (std::fgets(line, sizeof line, stdin)) {
        std::string command(line);
        while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) command.pop_back();
        const size_t space = command.find(' ');
        const std::string verb = command.substr(0, space);
        const std::string argument = space == std::string::npos ? "" : command.substr(space + 1);
        if (verb == "wait") {
            title = Widen(argument);
            dialog = nullptr;
            for (int tries = 0; tries < 600 && !dialog; ++tries) {
                dialog = FindDialog(title);
                if (!dialog) ::Sleep(100);
            }
            say(dialog ? "ok" : "error no dialog");
        } else if (!dialog) {
            say("error no dialog");
        } else if (verb == "gone") {
            int tries = 0;
            while (::IsWindow(dialog) && ::IsWindowVisible(dialog) && tries++ < 600) ::Sleep(100);
            say(::IsWindow(dialog) && ::IsWindowVisible(dialog) ? "error still there" : "ok");
        } else if (verb == "texts") {
            for (const auto& [where, text] : texts()) say(Utf8(text));
            say("end");
        } else if (verb == "status") {
            std::string found;
            for (int tries = 0; tries < 6000 && found.empty(); ++tries) {
                for (const auto& [where, text] : texts()) {
                    if (text.rfind(L"Reading", 0) == 0) found = Utf8(text);
                }
                if (found.empty()) ::Sleep(5);
            }
            say(found.empty() ? "error no status" : found);
        } else if (verb == "item") {
            say(Utf8(WindowText(::GetDlgItem(dialog, std::atoi(argument.c_str())))));
        } else if (verb == "enabled") {
            say(::IsWindowEnabled(::GetDlgItem(dialog, std::atoi(argument.c_str()))) ? "1" : "0");
        } else if (verb == "click") {
            const int id = std::atoi(argument.c_str());
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
            say("ok");
        } else if (verb == "escape") {
            const HWND focus = ::GetDlgItem(dialog, IDCANCEL);
            ::PostMessageW(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            say("ok");
        } else if (verb == "rect") {
            RECT box;
            ::GetWindowRect(dialog, &box);
            char text[64];
            std::snprintf(text, sizeof text, "%ld %ld %ld %ld", box.left, box.top, box.right - box.left, box.bottom - box.top);
            say(text);
        } else if (verb == "choose") {
            const size_t cut = argument.find(' ');
            const int id = std::atoi(argument.substr(0, cut).c_str());
            const HWND box = ::GetDlgItem(dialog, id);
            const std::wstring text = Widen(cut == std::string::npos ? "" : argument.substr(cut + 1));
            const LRESULT index = ::SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
            if (index == CB_ERR) {
                say("error no such entry");
            } else {
                ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
                say("ok");
            }
        } else if (verb == "visible") {
            say(::IsWindowVisible(::GetDlgItem(dialog, std::atoi(argument.c_str()))) ? "1" : "0");
        } else if (verb == "quit") {
            const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
            say(::PostThreadMessageW(thread, WM_QUIT, 0, 0) ? "ok" : "error quit");
        } else {
            say("error unknown command");
        }
    }
    return 0;
}

// Titles of the visible top-level windows seen within seconds.
int ListWindows(int seconds) {
    std::vector<std::wstring> seen;
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    while (::GetTickCount64() < end) {
        ::EnumWindows(
            [](HWND window, LPARAM context) -> BOOL {
                auto* list = reinterpret_cast<std::vector<std::wstring>*>(context);
                const std::wstring title = WindowText(window);
                if (!::IsWindowVisible(window) || title.empty()) return TRUE;
                for (const auto& known : *list) {
                    if (known == title) return TRUE;
                }
                list->push_back(title);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&seen));
        ::Sleep(20);
    }
    for (const auto& title : seen) std::printf("%s\n", Utf8(title).c_str());
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
    if (argc >= 2 && std::strcmp(argv[1], "drive") == 0) return Drive();
    if (argc >= 3 && std::strcmp(argv[1], "windows") == 0) return ListWindows(std::atoi(argv[2]));
    return -3;
}
