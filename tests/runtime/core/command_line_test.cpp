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
    }
}
