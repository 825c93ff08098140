#include "base/JsonReader.h"

#include <cerrno>
#include <cmath>
#include <cwchar>

namespace {

// Deeper nesting than this is refused: the reader is recursive and a file
// of nothing but brackets must not exhaust the stack.
constexpr int kMaxDepth = 256;

class Reader {
public:
    explicit Reader(const std::wstring& text) : text_(text) {}

    void SkipWhiteSpace() {
        while (pos_ < text_.size() && IsWhiteSpace(text_[pos_])) ++pos_;
    }

    void ExpectEnd(const wchar_t* message) {
        SkipWhiteSpace();
        if (pos_ != text_.size()) throw VEZAJsonException(message);
    }

    std::unique_ptr<JsonValue> Value() {
        SkipWhiteSpace();
        if (pos_ < text_.size()) {
            const wchar_t c = text_[pos_];
            if (c == L'"') return std::make_unique<JsonValue>(String());
            if (c == L'[') return std::make_unique<JsonValue>(Array());
            if (c == L'{') return std::make_unique<JsonValue>(Object());
            if ((c >= L'0' && c <= L'9') || c == L'-') return std::make_unique<JsonValue>(Number());
            if (StartsWith(L"null")) {
                pos_ += 4;
                return std::make_unique<JsonValue>();
            }
            if (StartsWith(L"true") || StartsWith(L"false")) return std::make_unique<JsonValue>(Boolean());
        }
        throw VEZAJsonException(L"unexpected JSON value");
    }

    std::wstring String() {
        SkipWhiteSpace();
        if (pos_ >= text_.size() || text_[pos_] != L'"') throw VEZAJsonException(L"Expected JSON string start character '\"'");
        return QuotedText();
    }

    JsonArray Array() {
        SkipWhiteSpace();
        if (pos_ >= text_.size() || text_[pos_] != L'[') throw VEZAJsonException(L"Expected JSON array.");
        ++pos_;
        Nest nest(*this);
        JsonArray array;
        SkipWhiteSpace();
        if (pos_ < text_.size() && text_[pos_] == L']') {
            ++pos_;
            return array;
        }
        for (;;) {
            array.push_back(Value());
            SkipWhiteSpace();
            if (pos_ < text_.size() && text_[pos_] == L']') {
                ++pos_;
                return array;
            }
            if (pos_ >= text_.size() || text_[pos_] != L',') {
                throw VEZAJsonException(L"Expected JSON array separator ',' or array end character ']'");
            }
            ++pos_;
            SkipWhiteSpace();
            if (pos_ < text_.size() && text_[pos_] == L']') {  // a trailing comma is accepted
                ++pos_;
                return array;
            }
        }
    }

    JsonObject Object() {
        SkipWhiteSpace();
        if (pos_ >= text_.size() || text_[pos_] != L'{') throw VEZAJsonException(L"Expected JSON array.");
        ++pos_;
        Nest nest(*this);
        JsonObject object;
        SkipWhiteSpace();
        if (pos_ < text_.size() && text_[pos_] == L'}') {
            ++pos_;
            return object;
        }
        for (;;) {
            SkipWhiteSpace();
            if (pos_ >= text_.size() || text_[pos_] != L'"') throw VEZAJsonException(L"Expected JSON name start character '\"'");
            std::wstring name = QuotedText();
            SkipWhiteSpace();
            if (pos_ >= text_.size() || text_[pos_] != L':') {
                throw VEZAJsonException(L"Expected JSON name/value separator character ':'");
            }
            ++pos_;
            object[name] = Value();  // a repeated name keeps the later value
            SkipWhiteSpace();
            if (pos_ < text_.size() && text_[pos_] == L'}') {
                ++pos_;
                return object;
            }
            if (pos_ >= text_.size() || text_[pos_] != L',') {
                throw VEZAJsonException(L"Expected JSON map separator ',' or map end character '}'");
            }
            ++pos_;
            SkipWhiteSpace();
            if (pos_ < text_.size() && text_[pos_] == L'}') {  // a trailing comma is accepted
                ++pos_;
                return object;
            }
        }
    }

    double Number() {
        SkipWhiteSpace();
        if (pos_ >= text_.size() || !((text_[pos_] >= L'0' && text_[pos_] <= L'9') || text_[pos_] == L'-')) {
            throw VEZAJsonException(L"Expected JSON number value.");
        }
        const wchar_t* start = text_.c_str() + pos_;
        wchar_t* end = nullptr;
        errno = 0;
        const double value = std::wcstod(start, &end);
        if (end == start || (errno == ERANGE && std::isinf(value))) throw VEZAJsonException(L"Expected JSON number value.");
        pos_ += static_cast<size_t>(end - start);
        return value;
    }

    bool Boolean() {
        SkipWhiteSpace();
        if (StartsWith(L"true")) {
            pos_ += 4;
            return true;
        }
        if (StartsWith(L"false")) {
            pos_ += 5;
            return false;
        }
        throw VEZAJsonException(L"Expected JSON boolean value.");
    }

    void Null() {
        SkipWhiteSpace();
        if (!StartsWith(L"null")) throw VEZAJsonException(L"Expected JSON 'null' object.");
        pos_ += 4;
    }

private:
    struct Nest {
        explicit Nest(Reader& r) : reader(r) {
            if (++reader.depth_ > kMaxDepth) throw VEZAJsonException(L"JSON nesting is too deep.");
        }
        ~Nest() { --reader.depth_; }
        Reader& reader;
    };

    static bool IsWhiteSpace(wchar_t c) {
        return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
    }

    bool StartsWith(const wchar_t* word) const { return text_.compare(pos_, std::wcslen(word), word) == 0; }

    // From an opening quote to the next quote; no escape sequences.
    std::wstring QuotedText() {
        const size_t close = text_.find(L'"', pos_ + 1);
        if (close == std::wstring::npos) throw VEZAJsonException(L"Expected JSON name end character '\"'");
        std::wstring s = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        return s;
    }

    const std::wstring& text_;
    size_t pos_ = 0;
    int depth_ = 0;
};

}  // namespace

const std::wstring& JsonValue::StringValue() const {
    if (type_ != Type::String) throw VEZAJsonException(L"JSON Type mismatch");
    return string_;
}

const JsonArray& JsonValue::ArrayValue() const {
    if (type_ != Type::Array) throw VEZAJsonException(L"JSON Type mismatch");
    return array_;
}

const JsonObject& JsonValue::ObjectValue() const {
    if (type_ != Type::Object) throw VEZAJsonException(L"JSON Type mismatch");
    return object_;
}

JsonObject& JsonValue::ObjectValue() {
    if (type_ != Type::Object) throw VEZAJsonException(L"JSON Type mismatch");
    return object_;
}

bool JsonValue::BooleanValue() const {
    if (type_ != Type::Boolean) throw VEZAJsonException(L"JSON Type mismatch");
    return boolean_;
}

double JsonValue::NumberValue() const {
    if (type_ != Type::Number) throw VEZAJsonException(L"JSON Type mismatch");
    return number_;
}

JsonObject ParseJsonObjectDocument(const std::wstring& text) {
    Reader r(text);
    JsonObject object = r.Object();
    r.ExpectEnd(L"No trailing charcters expected after JSON object.");
    return object;
}

JsonArray ParseJsonArrayDocument(const std::wstring& text) {
    Reader r(text);
    JsonArray array = r.Array();
    r.ExpectEnd(L"No trailing charcters expected after JSON array.");
    return array;
}

std::unique_ptr<JsonValue> ParseJsonValueDocument(const std::wstring& text) {
    Reader r(text);
    auto value = r.Value();
    r.ExpectEnd(L"No trailing charcters expected after JSON value.");
    return value;
}

std::wstring ParseJsonStringDocument(const std::wstring& text) {
    Reader r(text);
    std::wstring s = r.String();
    r.ExpectEnd(L"No trailing charcters expected after JSON string.");
    return s;
}

double ParseJsonNumberDocument(const std::wstring& text) {
    Reader r(text);
    const double d = r.Number();
    r.ExpectEnd(L"No trailing charcters expected after JSON number.");
    return d;
}

bool ParseJsonBooleanDocument(const std::wstring& text) {
    Reader r(text);
    const bool b = r.Boolean();
    r.ExpectEnd(L"No trailing characters expected after JSON object.");
    return b;
}

void ParseJsonNullDocument(const std::wstring& text) {
    Reader r(text);
    r.Null();
    r.ExpectEnd(L"No trailing charcters expected after JSON object.");
}

const JsonValue& GetJsonMember(const JsonObject& object, const std::wstring& name) {
    auto it = object.find(name);
    if (it == object.end() || !it->second) throw VEZAJsonException(L"No value with name '%s' is defined.", name);
    return *it->second;
}

bool HasJsonMember(const JsonObject& object, const std::wstring& name) { return object.count(name) != 0; }

void SetJsonMember(JsonObject& object, const std::wstring& name, std::unique_ptr<JsonValue> value) {
    object[name] = std::move(value);
}
