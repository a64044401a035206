// Which module a DLL name is looked up as and which file it is loaded from.

#include "services/dll_names.h"

#include <gtest/gtest.h>

TEST(DllNames, FileNamePartFollowsTheLastSeparatorOfEitherKind)
{
    struct Case {
        const char* dll;
        const char* part;
    };
    const Case cases[] = {
        {"user32", "user32"},
        {"C:\\libs\\x.dll", "x.dll"},
        {"C:/libs/x.dll", "x.dll"},
        {"a/b\\c/d.ocx", "d.ocx"},
        {"a\\b/c\\d", "d"},
        {"C:\\libs\\", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileNamePart(c.dll), c.part) << c.dll;
}

TEST(DllNames, DllIsAppendedUnlessTheFourthLastCharacterIsADot)
{
    struct Case {
        const char* dll;
        const char* load;
    };
    const Case cases[] = {
        {"mylib", "mylib.DLL"},
        {"mylib.dll", "mylib.dll"},
        {"my.lib.ocx", "my.lib.ocx"},
        {"glyph.test", "glyph.test.DLL"},
        {"x.ab", "x.ab.DLL"},
        {".abc", ".abc"},
        {"abc", "abc.DLL"},  // shorter than four characters
        {"", ".DLL"},
        {"C:\\libs\\x", "C:\\libs\\x.DLL"},
        {"C:\\libs\\x.dll", "C:\\libs\\x.dll"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameToLoad(c.dll), c.load) << c.dll;
}
