#include "values/script_string.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ScriptString, EmptyValuesOwnAZeroTerminatedBlock)
{
    ScriptString fromNothing;
    ScriptString fromNull(static_cast<const char*>(nullptr));
    for (const ScriptString* s : {&fromNothing, &fromNull}) {
        EXPECT_EQ(s->Length(), 0u);
        ASSERT_NE(s->Text(), nullptr);
        EXPECT_EQ(s->Text()[0], 0);
    }
}

TEST(ScriptString, BytesKeepInnerZerosAndStayTerminated)
{
    ScriptString s("a\0b", 3);
    EXPECT_EQ(s.Length(), 3u);
    EXPECT_EQ(s.View(), std::string_view("a\0b", 3));
    EXPECT_EQ(s.Text()[3], 0);
}

TEST(ScriptString, CopiesAreIndependent)
{
    ScriptString original("abc");
    ScriptString copy(original);
    copy.AppendChar('d');
    EXPECT_STREQ(original.Text(), "abc");
    EXPECT_STREQ(copy.Text(), "abcd");
    EXPECT_NE(original.Text(), copy.Text());

    ScriptString assigned;
    assigned = original;
    original.Assign("x");
    EXPECT_STREQ(assigned.Text(), "abc");
}

TEST(ScriptString, SelfAssignmentChangesNothing)
{
    ScriptString s("same");
    ScriptString& alias = s;
    s = alias;
    s.Assign(alias);
    EXPECT_STREQ(s.Text(), "same");
    EXPECT_EQ(s.Length(), 4u);
}

TEST(ScriptString, AppendVariants)
{
    ScriptString s("ab");
    s.Append(ScriptString("c\0d", 3));  // by length
    EXPECT_EQ(s.View(), std::string_view("abc\0d", 5));
    s.Append("ef\0gh");  // up to the zero byte
    EXPECT_EQ(s.Length(), 7u);
    s.Append(static_cast<const char*>(nullptr));
    EXPECT_EQ(s.Length(), 7u);
    s.AppendChar(0);
    EXPECT_EQ(s.Length(), 8u);
    EXPECT_EQ(s[7], 0);
}

TEST(ScriptString, SpliceRemovesAndInserts)
{
    struct Case {
        const char* start;
        uint32_t position, count;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"abcdef", 1, 3, "", "aef"},
        {"abcdef", 1, 3, "XY", "aXYef"},
        {"abcdef", 4, 100, "", "abcd"},     // count past the end cuts there
        {"abcdef", 0, 0, ">", ">abcdef"},
        {"abc", 3, 0, "!", "abc!"},
    };
    for (const Case& c : cases) {
        ScriptString s(c.start);
        s.Splice(c.position, c.count, c.text);
        EXPECT_STREQ(s.Text(), c.expected) << c.start << " " << c.position << " " << c.count;
        EXPECT_EQ(s.Length(), std::strlen(c.expected));
    }
}

TEST(ScriptString, CompareIsUnsignedAndStopsAtZero)
{
    EXPECT_EQ(ScriptString("abc").Compare("abc"), 0);
    EXPECT_EQ(ScriptString("abc").Compare("abd"), -1);
    EXPECT_EQ(ScriptString("abd").Compare("abc"), 1);
    EXPECT_EQ(ScriptString("ab").Compare("abc"), -1);
    EXPECT_EQ(ScriptString("\xE4").Compare("a"), 1);  // 0xE4 is above 'a' as unsigned
    EXPECT_EQ(ScriptString("a\0x", 3).Compare("a"), 0);
    EXPECT_EQ(ScriptString("a").Compare(nullptr), 1);
}
