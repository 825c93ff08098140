#pragma once
// Small text helpers shared by the portable and the Windows code.
#include <string>
#include <string_view>

// Folds A..Z only, as the launcher compares names, switches and keywords.
wchar_t FoldAsciiCase(wchar_t c);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);

// Decimal number at the start of text (blanks and a sign allowed); 0 when
// there is none.
long ParseDecimal(std::wstring_view text);
