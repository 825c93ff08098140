#include "base/TextFormat.h"

#include <cstdio>

long long FormatArg::asSigned() const {
    switch (kind_) {
    case Kind::Signed: return signed_;
    case Kind::Unsigned: return static_cast<long long>(unsigned_);
    case Kind::Real: return static_cast<long long>(real_);
    case Kind::Text: break;
    }
    return 0;
}

unsigned long long FormatArg::asUnsigned() const {
    switch (kind_) {
    case Kind::Signed:
        // A negative 32-bit value reads as its 32-bit two's complement, as
        // Windows' printf shows "%u" of -1 as 4294967295.
        return bits_ == 32 ? static_cast<unsigned long long>(static_cast<uint32_t>(signed_))
                           : static_cast<unsigned long long>(signed_);
    case Kind::Unsigned: return unsigned_;
    case Kind::Real: return static_cast<unsigned long long>(real_);
    case Kind::Text: break;
    }
    return 0;
}

double FormatArg::asReal() const {
    switch (kind_) {
    case Kind::Signed: return static_cast<double>(signed_);
    case Kind::Unsigned: return static_cast<double>(unsigned_);
    case Kind::Real: return real_;
    case Kind::Text: break;
    }
    return 0;
}

namespace {

struct Spec {
    std::string flags;
    int width = -1;
    int precision = -1;
    wchar_t conversion = 0;
};

bool IsFlag(wchar_t c) { return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0'; }

// Widths and precisions are capped so that a hostile format cannot make the
// formatter allocate without bound.
constexpr int kMaxWidth = 4096;

void Pad(std::wstring& out, const std::wstring& body, const Spec& spec) {
    const bool left = spec.flags.find('-') != std::string::npos;
    const size_t width = spec.width < 0 ? 0 : static_cast<size_t>(spec.width);
    if (body.size() >= width) {
        out += body;
    } else if (left) {
        out += body;
        out.append(width - body.size(), L' ');
    } else {
        out.append(width - body.size(), L' ');
        out += body;
    }
}

std::wstring Widen(const char* s) {
    std::wstring w;
    for (; *s; ++s) w += static_cast<wchar_t>(static_cast<unsigned char>(*s));
    return w;
}

std::wstring FormatNumber(const Spec& spec, const FormatArg& arg) {
    std::string fmt(1, '%');
    fmt += spec.flags;
    if (spec.width >= 0) fmt += std::to_string(spec.width);
    if (spec.precision >= 0) {
        fmt += '.';
        fmt += std::to_string(spec.precision);
    }
    char buf[kMaxWidth + 128];
    switch (spec.conversion) {
    case L'd':
    case L'i':
        fmt += "lld";
        std::snprintf(buf, sizeof buf, fmt.c_str(), arg.asSigned());
        break;
    case L'u':
    case L'x':
    case L'X':
    case L'o':
        fmt += "ll";
        fmt += static_cast<char>(spec.conversion);
        std::snprintf(buf, sizeof buf, fmt.c_str(), arg.asUnsigned());
        break;
    default:  // e, E, f, F, g, G
        fmt += static_cast<char>(spec.conversion);
        std::snprintf(buf, sizeof buf, fmt.c_str(), arg.asReal());
        break;
    }
    return Widen(buf);
}

// An argument that does not fit its conversion is shown in its own form.
std::wstring FormatNatural(const Spec& spec, const FormatArg& arg) {
    Spec s = spec;
    switch (arg.kind()) {
    case FormatArg::Kind::Text: return arg.text();
    case FormatArg::Kind::Signed: s.conversion = L'd'; break;
    case FormatArg::Kind::Unsigned: s.conversion = L'u'; break;
    case FormatArg::Kind::Real: s.conversion = L'g'; break;
    }
    s.precision = -1;
    return FormatNumber(s, arg);
}

}  // namespace

std::wstring FormatTextV(std::wstring_view format, const std::vector<FormatArg>& args) {
    std::wstring out;
    out.reserve(format.size() + 16 * args.size());
    size_t next = 0;
    size_t i = 0;
    const size_t n = format.size();

    auto takeArg = [&]() -> const FormatArg* { return next < args.size() ? &args[next++] : nullptr; };
    auto readNumber = [&](int& value) {
        if (i < n && format[i] == L'*') {
            ++i;
            const FormatArg* a = takeArg();
            const long long v = a && a->kind() != FormatArg::Kind::Text ? a->asSigned() : 0;
            value = static_cast<int>(v < -kMaxWidth ? -kMaxWidth : v > kMaxWidth ? kMaxWidth : v);
            return;
        }
        value = 0;
        while (i < n && format[i] >= L'0' && format[i] <= L'9') {
            if (value < kMaxWidth) value = value * 10 + (format[i] - L'0');
            ++i;
        }
        if (value > kMaxWidth) value = kMaxWidth;
    };

    while (i < n) {
        const wchar_t c = format[i];
        if (c != L'%') {
            out += c;
            ++i;
            continue;
        }
        const size_t start = i++;
        Spec spec;
        while (i < n && IsFlag(format[i])) spec.flags += static_cast<char>(format[i++]);
        if (i < n && (format[i] == L'*' || (format[i] >= L'0' && format[i] <= L'9'))) {
            readNumber(spec.width);
            if (spec.width < 0) {
                spec.flags += '-';
                spec.width = spec.width < -kMaxWidth ? kMaxWidth : -spec.width;
            }
        }
        if (i < n && format[i] == L'.') {
            ++i;
            readNumber(spec.precision);
            if (spec.precision < 0) spec.precision = -1;
        }
        // Length modifiers carry no meaning here: every argument knows its type.
        while (i < n && (format[i] == L'h' || format[i] == L'l' || format[i] == L'L' || format[i] == L'w' ||
                         format[i] == L'z' || format[i] == L'j' || format[i] == L't')) {
            ++i;
        }
        if (i < n && format[i] == L'I') {
            ++i;
            if (i + 1 < n && ((format[i] == L'6' && format[i + 1] == L'4') || (format[i] == L'3' && format[i + 1] == L'2'))) i += 2;
        }
        if (i >= n) {
            out.append(format.substr(start));
            break;
        }
        spec.conversion = format[i++];
        switch (spec.conversion) {
        case L'%':
            out += L'%';
            break;
        case L's':
        case L'S': {
            const FormatArg* a = takeArg();
            if (!a) break;
            std::wstring body = a->kind() == FormatArg::Kind::Text ? a->text() : FormatNatural(spec, *a);
            if (spec.precision >= 0 && body.size() > static_cast<size_t>(spec.precision)) body.resize(static_cast<size_t>(spec.precision));
            Pad(out, body, spec);
            break;
        }
        case L'c':
        case L'C': {
            const FormatArg* a = takeArg();
            if (!a) break;
            std::wstring body = a->kind() == FormatArg::Kind::Text ? a->text().substr(0, 1)
                                                                    : std::wstring(1, static_cast<wchar_t>(a->asUnsigned() & 0xFFFF));
            Pad(out, body, spec);
            break;
        }
        case L'd': case L'i': case L'u': case L'x': case L'X': case L'o':
        case L'e': case L'E': case L'f': case L'F': case L'g': case L'G': {
            const FormatArg* a = takeArg();
            if (!a) break;
            if (a->kind() == FormatArg::Kind::Text) Pad(out, a->text(), spec);
            else out += FormatNumber(spec, *a);
            break;
        }
        case L'p': {
            const FormatArg* a = takeArg();
            if (!a) break;
            Spec hex = spec;
            hex.conversion = L'X';
            hex.flags.assign(1, '0');
            hex.width = static_cast<int>(sizeof(void*) * 2);
            out += a->kind() == FormatArg::Kind::Text ? a->text() : FormatNumber(hex, *a);
            break;
        }
        default:
            // "%n" and unknown conversions are written as they stand.
            out.append(format.substr(start, i - start));
            break;
        }
    }
    return out;
}
