#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LanguageTable.h"

namespace {

std::wstring CurrentName(const LanguageTable& t) { return t.Current() ? t.Current()->name : L"(none)"; }

TEST(LanguageTable, SelectByName) {
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {{L"german", L"German"}, {L"JAPANESE", L"Japanese"}, {L"Deutsch", L"English"},
                 {L"", L"English"},      {L"French", L"French"},     {L"Spanish ", L"English"}};
    for (const Case& c : cases) {
        LanguageTable t;
        t.SelectByName(L"English");
        t.SelectByName(c.text);
        EXPECT_EQ(CurrentName(t), c.expected) << "lang=" << std::string(c.text, c.text + wcslen(c.text));
    }
}

TEST(LanguageTable, SelectByLangIdFallsBackToThePrimaryLanguage) {
    struct Case {
        uint32_t langId;
        const wchar_t* expected;
    } cases[] = {{1031, L"German"}, {2055, L"German"},  {3079, L"German"}, {2058, L"Spanish"}, {3084, L"French"},
                 {1041, L"Japanese"}, {1049, L"English"}, {2057, L"English"}, {0, L"English"}};
    for (const Case& c : cases) {
        LanguageTable t;
        t.SelectByName(L"English");
        t.SelectByLangId(c.langId);
        EXPECT_EQ(CurrentName(t), c.expected) << "LANGID " << c.langId;
    }
}

TEST(LanguageTable, SelectByIsoCode) {
    LanguageTable t;
    t.SelectByIsoCode(L"JA");
    EXPECT_EQ(CurrentName(t), L"Japanese");
    t.SelectByIsoCode(L"ru");
    EXPECT_EQ(CurrentName(t), L"Japanese");
}

TEST(LanguageTable, StringsComeFromTheCurrentLanguageOnly) {
    LanguageTable t;
    EXPECT_EQ(t.LoadLanguageString(1068), L"");  // nothing selected yet
    t.SelectByName(L"English");
    EXPECT_EQ(t.LoadLanguageString(1068), L"command line syntax");
    EXPECT_EQ(t.LoadLanguageString(1277),
              L"Warning: the property '%s' specified on the command line is not directly supported by this "
              L"installer but will be passed on neverthless.");
    EXPECT_EQ(t.LoadLanguageString(4000), L"only in English");
    EXPECT_EQ(t.LoadLanguageString(3999), L"");

    t.SelectByName(L"German");
    EXPECT_NE(t.LoadLanguageString(1068), L"");
    EXPECT_NE(t.LoadLanguageString(1068), L"command line syntax");
    EXPECT_EQ(t.LoadLanguageString(4000), L"");  // no fallback to English

    t.SelectByName(L"Japanese");
    const std::wstring ja = t.LoadLanguageString(1068);
    ASSERT_FALSE(ja.empty());
    for (wchar_t c : ja) EXPECT_TRUE(c >= 0x3000 || c == L' ') << "not Japanese text: " << static_cast<int>(c);
}

TEST(LanguageTable, DisplayNamesFollowTheCurrentLanguage) {
    LanguageTable t;
    t.SelectByName(L"English");
    EXPECT_EQ(t.Languages()[1].displayName, L"German");
    t.SelectByName(L"Japanese");
    const std::wstring englishInJapanese = t.Languages()[0].displayName;
    EXPECT_EQ(englishInJapanese, t.LoadLanguageString(50));
    EXPECT_NE(englishInJapanese, L"English");
    // A selection by display name works in the current language.
    t.SelectByName(t.Languages()[1].displayName);
    EXPECT_EQ(CurrentName(t), L"German");
    // An unknown name keeps the language and still reloads the names.
    t.SelectByName(L"Klingon");
    EXPECT_EQ(CurrentName(t), L"German");
    EXPECT_EQ(t.Languages()[0].displayName, t.LoadLanguageString(50));
}

TEST(LanguageTable, FormatsTranslatedStrings) {
    LanguageTable t;
    t.SelectByName(L"English");
    EXPECT_EQ(t.FormatLanguageString(1, L"Quelto Markwell"), L"Quelto Markwell - Installer Wizard");
    EXPECT_EQ(t.FormatLanguageString(1310, L"SK_WebServer_Port"), L"Error: Parameter SK_WebServer_Port must be numeric");
}

}  // namespace
