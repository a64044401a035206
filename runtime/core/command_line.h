#pragma once
// Splitting of the process command line into words.

#include <cstdint>
#include <string>
#include <vector>

#include "values/script_string.h"

// Cuts `buffer` in place: words are separated by blanks (0x20 only); a word that begins with
// a double quote runs to the next double quote. No escapes. Each word is appended to
// `words`; `count` is incremented per word, so starting from -1 it counts the words after
// the program path.
void SplitCommandLine(char* buffer, std::vector<ScriptString>& words, int32_t& count);

// The same words of the UTF-16 command line, which keeps names in any script.
std::vector<std::wstring> SplitWideCommandLine(std::wstring line);
