#include "core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Split {
    std::vector<std::string> words;
    int32_t count = -1;
};

Split SplitText(std::string line)
{
    std::vector<ScriptString> words;
    Split result;
    SplitCommandLine(line.data(), words, result.count);
    for (const ScriptString& w : words)
        result.words.emplace_back(w.View());
    return result;
}

// The cases are ASCII, which widens byte by byte.
std::wstring Widened(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

}  // namespace

TEST(CommandLine, Splitting)
{
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"prog.exe \"a b\" c", {"prog.exe", "a b", "c"}},
        {"\"C:\\Program Files\\g.exe\"", {"C:\\Program Files\\g.exe"}},
        {"  prog   x  ", {"prog", "x"}},
        {"prog \"unterminated word", {"prog", "unterminated word"}},
        {"prog \"\" x", {"prog", "", "x"}},
        {"prog a\\\"b", {"prog", "a\\\"b"}},  // no escapes
        {"prog\ta", {"prog\ta"}},             // only 0x20 separates
        {"", {}},
    };
    for (const Case& c : cases) {
        Split split = SplitText(c.line);
        EXPECT_EQ(split.words, c.words) << c.line;
        EXPECT_EQ(split.count, static_cast<int32_t>(c.words.size()) - 1) << c.line;
        // The wide command line is split by the same rules.
        std::vector<std::wstring> wide = SplitWideCommandLine(Widened(c.line));
        std::vector<std::wstring> expected;
        for (const std::string& word : c.words)
            expected.push_back(Widened(word));
        EXPECT_TRUE(wide == expected) << c.line;
    }
    // Outside the macro, whose text of the condition is a Windows-1252 string.
    const std::vector<std::wstring> anyScript = {L"prog", L"C:\\Фото\\写真.png", L"x"};
    const std::wstring line = L"prog \"C:\\Фото\\写真.png\" x";
    EXPECT_TRUE(SplitWideCommandLine(line) == anyScript);
}
