#pragma once
// Output to the console of the process that started the launcher.
#include <string>

// Attaches to the parent process's console when the system offers that call.
void AttachParentConsole();

// Writes to standard output: as UTF-16 to a console, as UTF-8 bytes to a
// file or pipe. Without a standard output the text goes nowhere.
void WriteConsoleText(const std::wstring& text);
