#include "string_functions.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "error_report.h"

namespace {

// The text of `count` bytes from the 0-based `start`, ending at the first zero byte.
ScriptString TextOfRange(const ScriptString& s, uint32_t start, uint32_t count)
{
    std::string range(s.Text() + start, count);
    return ScriptString(range.c_str());
}

ScriptString MapCase(ScriptString s, unsigned char (*map)(unsigned char))
{
    std::string text(s.Text());  // mapped up to its first zero byte
    for (char& c : text)
        c = static_cast<char>(map(static_cast<unsigned char>(c)));
    std::string mapped(s.Text(), s.Length());
    std::copy(text.begin(), text.end(), mapped.begin());
    return ScriptString(mapped.data(), static_cast<uint32_t>(mapped.size()));
}

}  // namespace

ScriptString ConcatStrings(ScriptString a, ScriptString b)
{
    a.Append(b);
    return a;
}

ScriptString operator+(const ScriptString& a, const ScriptString& b)
{
    return ConcatStrings(a, b);
}

int32_t StrLength(ScriptString s)
{
    return static_cast<int32_t>(s.Length());
}

int32_t StrEqual(ScriptString a, ScriptString b)
{
    return a.Compare(b.Text()) == 0 ? 1 : 0;
}

int32_t StrNotEqual(ScriptString a, ScriptString b)
{
    return a.Compare(b.Text()) != 0 ? 1 : 0;
}

ScriptString StrLeft(ScriptString s, int32_t n)
{
    if (n <= 0)
        return ScriptString();
    if (static_cast<uint32_t>(n) >= s.Length())
        return s;
    return TextOfRange(s, 0, static_cast<uint32_t>(n));
}

ScriptString StrRight(ScriptString s, int32_t n)
{
    if (n <= 0)
        return ScriptString();
    if (static_cast<uint32_t>(n) >= s.Length())
        return s;
    return TextOfRange(s, s.Length() - static_cast<uint32_t>(n), static_cast<uint32_t>(n));
}

ScriptString StrMid(ScriptString s, int32_t pos, int32_t n)
{
    if (n <= 0 || pos <= 0 || static_cast<uint32_t>(pos) > s.Length())
        return ScriptString();
    uint32_t start = static_cast<uint32_t>(pos) - 1;
    uint32_t count = std::min(static_cast<uint32_t>(n), s.Length() - start);
    return TextOfRange(s, start, count);
}

ScriptString StrDelete(ScriptString s, int32_t pos, int32_t n)
{
    if (pos < 1) {
        RaiseError(ErrorStringIndexBelowOne);
        pos = 1;
    }
    if (static_cast<uint32_t>(pos) > s.Length() || n == 0)
        return s;
    uint32_t rest = s.Length() - static_cast<uint32_t>(pos) + 1;
    uint32_t count = n < 0 ? rest : std::min(static_cast<uint32_t>(n), rest);
    s.Splice(static_cast<uint32_t>(pos) - 1, count, "");
    return s;
}

ScriptString StrChar(int32_t code)
{
    char byte = static_cast<char>(code & 0xFF);
    return ScriptString(&byte, 1);
}

int32_t StrCode(ScriptString s)
{
    return s.Length() == 0 ? 0 : s[0];
}

ScriptString StrRepeat(ScriptString s, int32_t n)
{
    if (n <= 0)
        return ScriptString();
    std::string repeated;
    repeated.reserve(static_cast<size_t>(s.Length()) * static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        repeated.append(s.Text(), s.Length());
    return ScriptString(repeated.data(), static_cast<uint32_t>(repeated.size()));
}

ScriptString StrSpaces(int32_t n)
{
    return StrRepeat(" ", n);
}

unsigned char UpperCaseByte(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A:
        return 0x8A;  // š
    case 0x9C:
        return 0x8C;  // œ
    case 0x9E:
        return 0x8E;  // ž
    case 0xFF:
        return 0x9F;  // ÿ
    default:
        return c;
    }
}

unsigned char LowerCaseByte(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

ScriptString StrUpper(ScriptString s)
{
    return MapCase(s, UpperCaseByte);
}

ScriptString StrLower(ScriptString s)
{
    return MapCase(s, LowerCaseByte);
}

const char* FindBytes(const char* range, size_t rangeLength, const char* pattern, size_t patternLength)
{
    for (size_t i = 0; i + patternLength <= rangeLength; ++i) {
        if (std::memcmp(range + i, pattern, patternLength) == 0)
            return range + i;
    }
    return nullptr;
}

int32_t CountOccurrences(const ScriptString& s, const ScriptString& pattern)
{
    if (pattern.Length() == 0)
        return 0;
    int32_t count = 0;
    const char* rest = s.Text();
    const char* end = s.Text() + s.Length();
    while (const char* found = FindBytes(rest, static_cast<size_t>(end - rest), pattern.Text(), pattern.Length())) {
        ++count;
        rest = found + pattern.Length();
    }
    return count;
}

ScriptString StrReplaceAll(ScriptString s, ScriptString search, ScriptString replacement)
{
    if (search.Length() == 0)
        return s;
    std::string result;
    const char* rest = s.Text();
    const char* end = s.Text() + s.Length();
    while (const char* found = FindBytes(rest, static_cast<size_t>(end - rest), search.Text(), search.Length())) {
        result.append(rest, found);
        result.append(replacement.Text(), replacement.Length());
        rest = found + search.Length();
    }
    result.append(rest, end);
    return ScriptString(result.data(), static_cast<uint32_t>(result.size()));
}

ScriptString StrField(ScriptString s, int32_t n, ScriptString separator)
{
    if (n < 1) {
        RaiseError(ErrorSubstringNumberBelowOne);
        return ScriptString();
    }
    int32_t separators = CountOccurrences(s, separator);
    if (separators == 0)
        return n == 1 ? s : ScriptString();
    if (n > separators + 1)
        return ScriptString();
    const char* start = s.Text();
    const char* end = s.Text() + s.Length();
    for (int32_t skipped = 0; skipped < n - 1; ++skipped)
        start = FindBytes(start, static_cast<size_t>(end - start), separator.Text(), separator.Length()) +
                separator.Length();
    const char* next = FindBytes(start, static_cast<size_t>(end - start), separator.Text(), separator.Length());
    return ScriptString(start, static_cast<uint32_t>((next ? next : end) - start));
}
