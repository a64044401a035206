#include "command_line.h"

namespace {

// Calls `take` with each word, cut out of `buffer` in place.
template <typename Char, typename Take>
void ForEachWord(Char* buffer, Take take)
{
    Char* p = buffer;
    for (;;) {
        while (*p == ' ')
            ++p;
        if (*p == 0)
            return;
        Char terminator = ' ';
        if (*p == '"') {
            terminator = '"';
            ++p;
        }
        Char* word = p;
        while (*p != 0 && *p != terminator)
            ++p;
        if (*p != 0)
            *p++ = 0;
        take(word);
    }
}

}  // namespace

void SplitCommandLine(char* buffer, std::vector<ScriptString>& words, int32_t& count)
{
    ForEachWord(buffer, [&](const char* word) {
        words.emplace_back(word);
        ++count;
    });
}

std::vector<std::wstring> SplitWideCommandLine(std::wstring line)
{
    std::vector<std::wstring> words;
    ForEachWord(line.data(), [&](const wchar_t* word) { words.emplace_back(word); });
    return words;
}
