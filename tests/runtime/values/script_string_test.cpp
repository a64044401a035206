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
        {"abcdef", 1, 3, "", "aef"},      {"abcdef", 1, 3, "XY", "aXYef"},
        {"abcdef", 4, 100, "", "abcd"},  // count past the end cuts there
        {"abcdef", 0, 0, ">", ">abcdef"}, {"abc", 3, 0, "!", "abc!"},
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

#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>

#include <stdexcept>

// A text of more than 4 GiB that costs 64 MiB: one block of 'x' mapped again and again,
// with a zero page behind it. Text() is null when it cannot be made.
class LongText {
public:
    static constexpr size_t Block = size_t{64} << 20;
    static constexpr size_t Blocks = 65;

    LongText()
    {
        size_ = Block * Blocks + static_cast<size_t>(sysconf(_SC_PAGESIZE));
        void* area = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (area == MAP_FAILED)
            return;
        area_ = static_cast<char*>(area);
        int file = memfd_create("long_text", 0);
        bool made = file >= 0 && ftruncate(file, Block) == 0;
        void* first = made ? mmap(area_, Block, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED, file, 0) : MAP_FAILED;
        made = first != MAP_FAILED;
        if (made)
            std::memset(first, 'x', Block);
        for (size_t i = 1; made && i < Blocks; ++i)
            made =
                mmap(area_ + i * Block, Block, PROT_READ, MAP_SHARED | MAP_FIXED | MAP_POPULATE, file, 0) != MAP_FAILED;
        if (file >= 0)
            close(file);
        complete_ = made;
    }
    ~LongText()
    {
        if (area_)
            munmap(area_, size_);
    }
    const char* Text() const { return complete_ ? area_ : nullptr; }

private:
    char* area_ = nullptr;
    size_t size_ = 0;
    bool complete_ = false;
};

TEST(ScriptString, ALengthBeyond32BitsIsRefusedNotWrapped)
{
    LongText text;
    ASSERT_NE(text.Text(), nullptr);
    ASSERT_EQ(text.Text()[LongText::Block * LongText::Blocks - 1], 'x');
    ScriptString s("ab");
    EXPECT_THROW(s.Append(text.Text()), std::length_error);
    EXPECT_STREQ(s.Text(), "ab");
}
#endif
