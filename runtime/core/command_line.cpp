#include "command_line.h"

void SplitCommandLine(char* buffer, std::vector<ScriptString>& words, int32_t& count)
{
    char* p = buffer;
    for (;;) {
        while (*p == ' ')
            ++p;
        if (*p == 0)
            return;
        char terminator = ' ';
        if (*p == '"') {
            terminator = '"';
            ++p;
        }
        char* word = p;
        while (*p != 0 && *p != terminator)
            ++p;
        if (*p != 0)
            *p++ = 0;
        words.emplace_back(word);
        ++count;
    }
}
