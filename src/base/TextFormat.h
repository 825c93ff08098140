#pragma once
// printf-style formatting for wide texts with Windows semantics ("%s" is a
// wide string), checked against the types of the arguments actually passed.
// A format that asks for an argument of another type gets that argument in
// its own form, a missing argument gives nothing, so a malformed translated
// string can never crash the launcher. Text from outside must always be an
// argument, never the format.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FormatArg {
public:
    enum class Kind { Text, Signed, Unsigned, Real };

    FormatArg(const wchar_t* s) : kind_(Kind::Text), text_(s ? s : L"(null)") {}
    FormatArg(const std::wstring& s) : kind_(Kind::Text), text_(s) {}
    FormatArg(std::wstring_view s) : kind_(Kind::Text), text_(s) {}
    FormatArg(int v) : kind_(Kind::Signed), signed_(v), bits_(32) {}
    FormatArg(long v) : kind_(Kind::Signed), signed_(v), bits_(sizeof(long) * 8) {}
    FormatArg(long long v) : kind_(Kind::Signed), signed_(v), bits_(64) {}
    FormatArg(short v) : kind_(Kind::Signed), signed_(v), bits_(32) {}
    FormatArg(unsigned v) : kind_(Kind::Unsigned), unsigned_(v), bits_(32) {}
    FormatArg(unsigned long v) : kind_(Kind::Unsigned), unsigned_(v), bits_(sizeof(long) * 8) {}
    FormatArg(unsigned long long v) : kind_(Kind::Unsigned), unsigned_(v), bits_(64) {}
    FormatArg(unsigned short v) : kind_(Kind::Unsigned), unsigned_(v), bits_(32) {}
    FormatArg(wchar_t c) : kind_(Kind::Unsigned), unsigned_(static_cast<uint16_t>(c)), bits_(32) {}
    FormatArg(double v) : kind_(Kind::Real), real_(v) {}

    Kind kind() const { return kind_; }
    const std::wstring& text() const { return text_; }
    long long asSigned() const;
    unsigned long long asUnsigned() const;
    double asReal() const;

private:
    Kind kind_;
    std::wstring text_;
    long long signed_ = 0;
    unsigned long long unsigned_ = 0;
    double real_ = 0;
    int bits_ = 64;
};

std::wstring FormatTextV(std::wstring_view format, const std::vector<FormatArg>& args);

template <typename... Args>
std::wstring FormatText(std::wstring_view format, const Args&... args) {
    return FormatTextV(format, std::vector<FormatArg>{FormatArg(args)...});
}
