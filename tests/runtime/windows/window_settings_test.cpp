// The main window's style flags.

#include "windows/window_settings.h"

#include <gtest/gtest.h>

namespace {

class WindowSettings : public testing::Test {
protected:
    void SetUp() override { ResetWindowSettings(); }
};

struct StyleCase {
    int32_t flags;
    uint32_t style;
    uint32_t exStyle;
    int32_t noMenu, seeThrough, dialogKeys;
};

class StyleFlags : public WindowSettings, public testing::WithParamInterface<StyleCase> {};

TEST_P(StyleFlags, GiveStyleAndModes)
{
    const StyleCase& c = GetParam();
    SetWindowStyle(c.flags);
    EXPECT_EQ(WindowStyle, c.style);
    EXPECT_EQ(WindowExStyle, c.exStyle);
    EXPECT_EQ(NoMenu, c.noMenu);
    EXPECT_EQ(SeeThrough, c.seeThrough);
    EXPECT_EQ(DialogKeys, c.dialogKeys);
}

INSTANTIATE_TEST_SUITE_P(Cases, StyleFlags,
                         testing::Values(
                             // the application's 146: minimise box and no menu; 0x80 has no effect
                             StyleCase{0x92, 0x22000, 0x100, 1, 0, 0}, StyleCase{0x0, 0x2000, 0x100, 0, 0, 0},
                             StyleCase{0xF, 0xF2000, 0x100, 0, 0, 0}, StyleCase{0x20, 0x2000, 0x100, 0, 1, 0},
                             // popup: no caption, no window edge
                             StyleCase{0x48, 0x80082000, 0x000, 0, 0, 0}, StyleCase{0x200, 0x2000, 0x100, 0, 0, 1}));

TEST_F(WindowSettings, ModeFlagsAreOnlyEverSet)
{
    SetWindowStyle(0x230);
    SetWindowStyle(0x1);
    EXPECT_EQ(WindowStyle, 0x12000u);
    EXPECT_EQ(NoMenu, 1);
    EXPECT_EQ(SeeThrough, 1);
    EXPECT_EQ(DialogKeys, 1);
}

}  // namespace
