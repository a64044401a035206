#pragma once
// How a DLL name given to CallDllFunction becomes the module to look for and the file to load.

#include <cstddef>
#include <string>
#include <string_view>

// The file-name part is looked up in a 256-byte buffer and the name to load is built in an
// 80-byte one; longer names are refused.
constexpr std::size_t MaxFileNamePart = 255;
constexpr std::size_t MaxNameToLoad = 79;

// The text after the last "\" and after the last "/"; the whole name when it has neither.
std::string_view FileNamePart(std::string_view dll);
// The whole name, with ".DLL" appended unless its fourth-last character is ".".
std::string NameToLoad(std::string_view dll);
