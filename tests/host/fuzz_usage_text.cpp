// Fuzzes the 80-column layout of help texts: memory errors, undefined
// behaviour, and that a text always starts with its indent.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "app/UsageText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t indent = data[0] % 16;
    const std::wstring text = WidenBytes(data + 1, size - 1);
    const std::wstring program = L"setup.exe";
    const std::wstring out = WrapUsageText(text, indent, size % 2 ? &program : nullptr);
    if (text.empty() != out.empty() && indent > 0) __builtin_trap();
    if (!text.empty() && out.compare(0, indent, std::wstring(indent, L' ')) != 0) __builtin_trap();
    return 0;
}
