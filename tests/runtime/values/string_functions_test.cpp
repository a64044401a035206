#include "values/string_functions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "values/error_report.h"

namespace {

std::string Bytes(const ScriptString& s)
{
    return std::string(s.View());
}

// Reports end the "program" by throwing, so a test sees which code was raised.
struct ProgramEnded {};
std::vector<std::string> Shown;

class StringFunctionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Shown.clear();
        ErrorLevel = 1;
        InstallErrorBoxes({[](const char* title) { Shown.emplace_back(title); },
                           [](const char* title) {
                               Shown.emplace_back(title);
                               return true;
                           },
                           []() -> void { throw ProgramEnded(); }});
    }
    void TearDown() override { ErrorLevel = 1; }
};

}  // namespace

TEST_F(StringFunctionsTest, ZeroByteCountsInLengthButNotInComparison)
{
    ScriptString zero = StrChar(0);
    EXPECT_EQ(StrLength(zero), 1);
    EXPECT_EQ(StrLength(ConcatStrings(zero, "a")), 2);
    EXPECT_EQ(StrEqual(zero, ""), 1);
    EXPECT_EQ(StrNotEqual(zero, ""), 0);
    EXPECT_EQ(StrLength(StrChar(256)), 1);
    EXPECT_EQ(StrCode(StrChar(256 + 65)), 65);
}

TEST_F(StringFunctionsTest, LeftRightMid)
{
    struct Case {
        ScriptString result;
        const char* expected;
    };
    const Case cases[] = {
        {StrLeft("abc", 10), "abc"},
        {StrRight("abc", 10), "abc"},
        {StrLeft("abc", 0), ""},
        {StrRight("abc", -1), ""},
        {StrLeft("abc", 2), "ab"},
        {StrRight("abc", 2), "bc"},
        {StrMid("abcdef", 3, 2), "cd"},
        {StrMid("abcdef", 5, 10), "ef"},
        {StrMid("abc", 4, 1), ""},
        {StrMid("abc", 0, 1), ""},
        {StrMid("abc", 1, 0), ""},
        {StrLeft(ScriptString("a\0bc", 4), 3), "a"},  // a range ends at its first zero byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bytes(c.result), c.expected);
}

TEST_F(StringFunctionsTest, Delete)
{
    EXPECT_EQ(Bytes(StrDelete("abcdef", 2, 3)), "aef");
    EXPECT_EQ(Bytes(StrDelete("abcdef", 5, 10)), "abcd");
    EXPECT_EQ(Bytes(StrDelete("abc", 4, 1)), "abc");
    EXPECT_EQ(Bytes(StrDelete("abcdef", 3, -1)), "ab");
    EXPECT_EQ(Bytes(StrDelete("abcdef", 3, 0)), "abcdef");
    EXPECT_TRUE(Shown.empty());
}

TEST_F(StringFunctionsTest, DeleteBeforeTheFirstPositionRaises204)
{
    EXPECT_THROW(StrDelete("abc", 0, 1), ProgramEnded);
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0], "String-Index ist < 1 !");

    ErrorLevel = -1;  // silent: the position is taken as 1
    EXPECT_EQ(Bytes(StrDelete("abc", 0, 1)), "bc");
    EXPECT_EQ(Shown.size(), 1u);
}

TEST_F(StringFunctionsTest, Field)
{
    EXPECT_EQ(Bytes(StrField("a,b,,c", 3, ",")), "");
    EXPECT_EQ(Bytes(StrField("a,b,,c", 4, ",")), "c");
    EXPECT_EQ(Bytes(StrField("a,b,,c", 5, ",")), "");
    EXPECT_EQ(Bytes(StrField("a,b,,c", 2, ",")), "b");
    EXPECT_EQ(Bytes(StrField(",x", 1, ",")), "");
    EXPECT_EQ(Bytes(StrField("abc", 1, ";")), "abc");
    EXPECT_EQ(Bytes(StrField("abc", 2, ";")), "");
    EXPECT_EQ(Bytes(StrField("abc", 1, "")), "abc");
    EXPECT_EQ(Bytes(StrField("a::b::c", 3, "::")), "c");
    EXPECT_THROW(StrField("abc", 0, ","), ProgramEnded);
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0], "Substring-Nr ist < 1 !");
}

TEST_F(StringFunctionsTest, ReplaceAllNeverSearchesReplacements)
{
    EXPECT_EQ(Bytes(StrReplaceAll("aaaa", "aa", "b")), "bb");
    EXPECT_EQ(Bytes(StrReplaceAll("abc", "", "x")), "abc");
    EXPECT_EQ(Bytes(StrReplaceAll("a", "a", "aa")), "aa");
    EXPECT_EQ(Bytes(StrReplaceAll("a\nb\n", "\n", "\r\n")), "a\r\nb\r\n");
    EXPECT_EQ(CountOccurrences("aaa", "aa"), 1);
    EXPECT_EQ(CountOccurrences("aaa", ""), 0);
}

TEST_F(StringFunctionsTest, RepeatSpacesCode)
{
    EXPECT_EQ(Bytes(StrRepeat("ab", 3)), "ababab");
    EXPECT_EQ(Bytes(StrRepeat("ab", 0)), "");
    EXPECT_EQ(Bytes(StrRepeat(StrChar(0), 2)), std::string("\0\0", 2));
    EXPECT_EQ(Bytes(StrSpaces(0)), "");
    EXPECT_EQ(Bytes(StrSpaces(3)), "   ");
    EXPECT_EQ(StrCode(""), 0);
    EXPECT_EQ(StrCode("ä"), 228);
}

TEST_F(StringFunctionsTest, CaseMappingCoversWindows1252Letters)
{
    EXPECT_EQ(Bytes(StrUpper("äöü x1")), "ÄÖÜ X1");
    EXPECT_EQ(Bytes(StrLower("ÄB")), "äb");
    EXPECT_EQ(Bytes(StrUpper("ß÷ÿšœž")), "ß÷ŸŠŒŽ");
    EXPECT_EQ(Bytes(StrLower("×ÞŸ")), "×þÿ");
    // Mapping stops at the first zero byte; the bytes after it are kept as they were.
    EXPECT_EQ(Bytes(StrUpper(ScriptString("a\0b", 3))), std::string("A\0b", 3));
}
