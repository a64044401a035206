#pragma once
// The script's string functions and operators. Positions are 1-based; a result taken from a
// byte range ends at the first zero byte of that range.

#include <cstddef>
#include <cstdint>

#include "script_string.h"

ScriptString ConcatStrings(ScriptString a, ScriptString b);
ScriptString operator+(const ScriptString& a, const ScriptString& b);
int32_t StrLength(ScriptString s);
int32_t StrEqual(ScriptString a, ScriptString b);
int32_t StrNotEqual(ScriptString a, ScriptString b);
ScriptString StrLeft(ScriptString s, int32_t n);
ScriptString StrRight(ScriptString s, int32_t n);
ScriptString StrMid(ScriptString s, int32_t pos, int32_t n);
ScriptString StrDelete(ScriptString s, int32_t pos, int32_t n);
ScriptString StrChar(int32_t code);
int32_t StrCode(ScriptString s);
ScriptString StrRepeat(ScriptString s, int32_t n);
ScriptString StrSpaces(int32_t n);
ScriptString StrUpper(ScriptString s);
ScriptString StrLower(ScriptString s);
ScriptString StrReplaceAll(ScriptString s, ScriptString search, ScriptString replacement);
ScriptString StrField(ScriptString s, int32_t n, ScriptString separator);

// First position in the range where the pattern occurs, or nullptr.
const char* FindBytes(const char* range, size_t rangeLength, const char* pattern, size_t patternLength);
// Non-overlapping occurrences, scanning from the left; 0 for an empty pattern.
int32_t CountOccurrences(const ScriptString& s, const ScriptString& pattern);

// Windows-1252 case mapping of the "English" locale.
unsigned char UpperCaseByte(unsigned char c);
unsigned char LowerCaseByte(unsigned char c);
