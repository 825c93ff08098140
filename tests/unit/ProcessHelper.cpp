// A child process for the process-start tests:
//   process_helper sleep        never ends by itself
//   process_helper env NAME     exits with the number in environment variable NAME
//   process_helper exit N       exits with N
//   process_helper mutex NAME   holds the named mutex, says "ready" and waits
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    return -3;
}
