#pragma once
// A small reader for wide-character JSON text: strings without escape
// sequences, numbers as doubles, every error a VEZAJsonException with a
// fixed English message. Portable (no Windows header).
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/TextFormat.h"

class VEZAJsonException : public std::exception {
public:
    template <typename... Args>
    explicit VEZAJsonException(std::wstring_view format, const Args&... args) : message_(FormatText(format, args...)) {}
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return "Unknown exception"; }

private:
    std::wstring message_;
};

class JsonValue;
using JsonObject = std::map<std::wstring, std::unique_ptr<JsonValue>>;  // sorted by name, ordinal
using JsonArray = std::vector<std::unique_ptr<JsonValue>>;

class JsonValue {
public:
    enum class Type { Null = 0, Object = 1, Array = 2, String = 3, Boolean = 4, Number = 5 };

    JsonValue() = default;
    explicit JsonValue(JsonObject object) : type_(Type::Object), object_(std::move(object)) {}
    explicit JsonValue(JsonArray array) : type_(Type::Array), array_(std::move(array)) {}
    explicit JsonValue(std::wstring text) : type_(Type::String), string_(std::move(text)) {}
    explicit JsonValue(bool value) : type_(Type::Boolean), boolean_(value) {}
    explicit JsonValue(double value) : type_(Type::Number), number_(value) {}

    Type type() const { return type_; }
    // Typed access; another type throws "JSON Type mismatch".
    const std::wstring& StringValue() const;
    const JsonArray& ArrayValue() const;
    const JsonObject& ObjectValue() const;
    JsonObject& ObjectValue();
    bool BooleanValue() const;
    double NumberValue() const;

private:
    Type type_ = Type::Null;
    JsonObject object_;
    JsonArray array_;
    std::wstring string_;
    bool boolean_ = false;
    double number_ = 0;
};

// Documents: one item, then only white space up to the end of the text.
JsonObject ParseJsonObjectDocument(const std::wstring& text);
JsonArray ParseJsonArrayDocument(const std::wstring& text);
std::unique_ptr<JsonValue> ParseJsonValueDocument(const std::wstring& text);
std::wstring ParseJsonStringDocument(const std::wstring& text);
double ParseJsonNumberDocument(const std::wstring& text);
bool ParseJsonBooleanDocument(const std::wstring& text);
void ParseJsonNullDocument(const std::wstring& text);

// Members of an object. GetJsonMember throws "No value with name '%s' is
// defined." for a missing name; SetJsonMember replaces or inserts.
const JsonValue& GetJsonMember(const JsonObject& object, const std::wstring& name);
bool HasJsonMember(const JsonObject& object, const std::wstring& name);
void SetJsonMember(JsonObject& object, const std::wstring& name, std::unique_ptr<JsonValue> value);
