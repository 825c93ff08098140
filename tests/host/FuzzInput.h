#pragma once
// Fuzz input as wide text: UTF-8-ish bytes widened one by one, so that every
// byte value reaches the code under test.
#include <cstddef>
#include <cstdint>
#include <string>

inline std::wstring WidenBytes(const uint8_t* data, size_t size) {
    std::wstring text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i) text += static_cast<wchar_t>(data[i]);
    return text;
}
