// Fuzzes the JSON reader: every document kind on the same input; errors must
// be VEZAJsonException, nothing else may escape.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "base/JsonReader.h"

template <typename F>
void Try(F parse) {
    try {
        parse();
    } catch (const VEZAJsonException&) {
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = WidenBytes(data, size);
    Try([&] { ParseJsonObjectDocument(text); });
    Try([&] { ParseJsonArrayDocument(text); });
    Try([&] { ParseJsonValueDocument(text); });
    Try([&] { ParseJsonNumberDocument(text); });
    return 0;
}
