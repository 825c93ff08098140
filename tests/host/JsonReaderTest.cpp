#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/JsonReader.h"

namespace {

// The message of the exception a parse throws; empty when it does not throw.
template <typename F>
std::wstring Error(F parse) {
    try {
        parse();
    } catch (const VEZAJsonException& e) {
        return e.Message();
    }
    return L"";
}

TEST(JsonReader, AcceptsTheReadersOwnGrammar) {
    const auto object = ParseJsonObjectDocument(L" {\"a\":1, \"b\" : [1,2,], \"c\":{\"x\":null,},\"d\":true} \r\n\t");
    EXPECT_EQ(GetJsonMember(object, L"a").NumberValue(), 1.0);
    EXPECT_EQ(GetJsonMember(object, L"b").ArrayValue().size(), 2u);
    EXPECT_EQ(GetJsonMember(GetJsonMember(object, L"c").ObjectValue(), L"x").type(), JsonValue::Type::Null);
    EXPECT_TRUE(GetJsonMember(object, L"d").BooleanValue());

    EXPECT_EQ(GetJsonMember(ParseJsonObjectDocument(L"{\"a\":1,\"a\":2}"), L"a").NumberValue(), 2.0);
    EXPECT_EQ(ParseJsonNumberDocument(L"1e3"), 1000.0);
    const double negativeZero = ParseJsonNumberDocument(L"-0");
    EXPECT_EQ(negativeZero, 0.0);
    EXPECT_TRUE(std::signbit(negativeZero));
    // No escape sequences: a backslash is an ordinary character.
    EXPECT_EQ(ParseJsonStringDocument(L"\"C:\\new\\t\""), L"C:\\new\\t");
    EXPECT_TRUE(ParseJsonArrayDocument(L"[]").empty());
    EXPECT_TRUE(ParseJsonObjectDocument(L"{ }").empty());

    // Members are kept sorted by name.
    const auto sorted = ParseJsonObjectDocument(L"{\"b\":1,\"a\":2,\"B\":3}");
    std::wstring names;
    for (const auto& [name, value] : sorted) names += name;
    EXPECT_EQ(names, L"Bab");
}

TEST(JsonReader, ErrorsCarryTheirFixedMessages) {
    struct Case {
        std::wstring (*parse)(const std::wstring&);
        const wchar_t* text;
        const wchar_t* message;
    };
    auto object = [](const std::wstring& t) { ParseJsonObjectDocument(t); return std::wstring(); };
    auto array = [](const std::wstring& t) { ParseJsonArrayDocument(t); return std::wstring(); };
    auto value = [](const std::wstring& t) { ParseJsonValueDocument(t); return std::wstring(); };
    auto string = [](const std::wstring& t) { return ParseJsonStringDocument(t); };
    auto number = [](const std::wstring& t) { ParseJsonNumberDocument(t); return std::wstring(); };
    auto boolean = [](const std::wstring& t) { ParseJsonBooleanDocument(t); return std::wstring(); };
    auto null = [](const std::wstring& t) { ParseJsonNullDocument(t); return std::wstring(); };
    const Case cases[] = {
        {array, L"[1 2]", L"Expected JSON array separator ',' or array end character ']'"},
        {value, L".5", L"unexpected JSON value"},
        {value, L"+1", L"unexpected JSON value"},
        {value, L"[,]", L"unexpected JSON value"},
        // The string ends at the quote after the backslash; what follows is no separator.
        {object, L"{\"a\":\"x\\\"y\"}", L"Expected JSON map separator ',' or map end character '}'"},
        {object, L"{\"a\" 1}", L"Expected JSON name/value separator character ':'"},
        {object, L"{a:1}", L"Expected JSON name start character '\"'"},
        {object, L"{\"a", L"Expected JSON name end character '\"'"},
        {object, L"[1]", L"Expected JSON array."},
        {array, L"{}", L"Expected JSON array."},
        {string, L"x", L"Expected JSON string start character '\"'"},
        {string, L"\"open", L"Expected JSON name end character '\"'"},
        {number, L"x", L"Expected JSON number value."},
        {number, L"-", L"Expected JSON number value."},
        {number, L"1e999", L"Expected JSON number value."},
        {boolean, L"yes", L"Expected JSON boolean value."},
        {null, L"nil", L"Expected JSON 'null' object."},
        // Trailing text, by document kind.
        {object, L"{} x", L"No trailing charcters expected after JSON object."},
        {array, L"[] x", L"No trailing charcters expected after JSON array."},
        {value, L"1 x", L"No trailing charcters expected after JSON value."},
        {number, L"1 x", L"No trailing charcters expected after JSON number."},
        {string, L"\"a\" x", L"No trailing charcters expected after JSON string."},
        {null, L"null x", L"No trailing charcters expected after JSON object."},
        {boolean, L"true x", L"No trailing characters expected after JSON object."},
        // Nesting that would exhaust the stack is refused.
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Error([&] { c.parse(c.text); }), c.message) << std::string(c.text, c.text + std::min<size_t>(wcslen(c.text), 40));
    }
    // Nesting that would exhaust the stack is refused.
    EXPECT_EQ(Error([] { ParseJsonValueDocument(std::wstring(100000, L'[')); }), L"JSON nesting is too deep.");
    EXPECT_EQ(Error([] { ParseJsonValueDocument(std::wstring(100000, L'{')); }), L"Expected JSON name start character '\"'");
}

TEST(JsonReader, MemberAccess) {
    auto object = ParseJsonObjectDocument(L"{\"packages\":{},\"name\":\"x\"}");
    EXPECT_EQ(Error([&] { GetJsonMember(object, L"missing"); }), L"No value with name 'missing' is defined.");
    EXPECT_EQ(Error([&] { GetJsonMember(object, L"packages").ArrayValue(); }), L"JSON Type mismatch");
    EXPECT_EQ(Error([&] { GetJsonMember(object, L"name").ObjectValue(); }), L"JSON Type mismatch");
    EXPECT_TRUE(HasJsonMember(object, L"name"));
    SetJsonMember(object, L"name", std::make_unique<JsonValue>(std::wstring(L"y")));
    EXPECT_EQ(GetJsonMember(object, L"name").StringValue(), L"y");
    const VEZAJsonException e(L"x");
    EXPECT_STREQ(e.what(), "Unknown exception");
}

}  // namespace
