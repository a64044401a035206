// The keyword settings, the error level and the fast-mode posts they make.

#include "core/runtime_settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/request_codes.h"
#include "core/runtime_state.h"
#include "values/error_report.h"

namespace {

// The test thread stands in for the GUI thread and collects the mode codes posted to it.
class RuntimeSettings : public testing::Test {
protected:
    void SetUp() override
    {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
        GuiThreadId = GetCurrentThreadId();
        FastMode = 0;
        ErrorLevel = 1;
        ResetRuntimeSettings();
        PostedCodes();
    }

    // The request codes posted since the last call.
    static std::vector<WPARAM> PostedCodes()
    {
        std::vector<WPARAM> codes;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, GuiRequest, GuiRequest, PM_REMOVE))
            codes.push_back(msg.wParam);
        return codes;
    }
};

using Codes = std::vector<WPARAM>;

TEST_F(RuntimeSettings, FastModeInAnyLetterCasePostsOnlyOnARealChange)
{
    EXPECT_EQ(SetOption("FastMode", 1), 0);
    EXPECT_EQ(PostedCodes(), Codes{ReqEnterFastMode});
    EXPECT_EQ(SetOption("FASTMODE", 1), 1);
    EXPECT_EQ(SetOption("fastmode", 5), 1);
    EXPECT_EQ(PostedCodes(), Codes{});
    EXPECT_EQ(SetOption("fastMode", 0), 5);
    EXPECT_EQ(PostedCodes(), Codes{ReqLeaveFastMode});
    EXPECT_EQ(FastMode, 0);
}

TEST_F(RuntimeSettings, ErrorLevelMinusTwoTogglesFastModeAndKeepsTheLevel)
{
    SetErrorLevel(-2);
    EXPECT_EQ(FastMode, 1);
    EXPECT_EQ(ErrorLevel, 1);
    SetErrorLevel(1);  // the current level again: fast mode off
    EXPECT_EQ(FastMode, 0);
    EXPECT_EQ(ErrorLevel, 1);
    EXPECT_EQ(PostedCodes(), (Codes{ReqEnterFastMode, ReqLeaveFastMode}));
    SetErrorLevel(1);  // fast mode already off: just the level
    SetErrorLevel(2);
    EXPECT_EQ(ErrorLevel, 2);
    EXPECT_EQ(FastMode, 0);
}

TEST_F(RuntimeSettings, SetErrorLevelKeywordReturnsThePreviousLevel)
{
    EXPECT_EQ(SetOption("SetErrorLevel", 0), 1);
    EXPECT_EQ(ErrorLevel, 0);
    EXPECT_EQ(SetOption("seterrorlevel", -1), 0);
    EXPECT_EQ(ErrorLevel, -1);
}

TEST_F(RuntimeSettings, PlainSettingsReturnTheirPreviousValue)
{
    EXPECT_EQ(SetOption("messagemode", 0), 1);
    EXPECT_EQ(MessageMode.load(), 0);
    EXPECT_EQ(SetOption("sqlwidth", 80), 50);
    EXPECT_EQ(SetOption("SQLWIDTH", 10), 80);
    EXPECT_EQ(SetOption("pdc", 1234), 0);
    EXPECT_EQ(PrinterDC, 1234);
    EXPECT_EQ(SetOption("sqldbc", 99), 0);
    EXPECT_EQ(SqlConnection, 99);
}

TEST_F(RuntimeSettings, UnknownKeywordsReturnZeroAndChangeNothing)
{
    for (const char* keyword : {"schnell", "fast-mode", "fastmodes", "", "messagemod"}) {
        EXPECT_EQ(SetOption(keyword, 7), 0) << keyword;
    }
    EXPECT_EQ(FastMode, 0);
    EXPECT_EQ(MessageMode.load(), 1);
    EXPECT_EQ(ErrorLevel, 1);
    EXPECT_EQ(PostedCodes(), Codes{});
}

TEST_F(RuntimeSettings, RandomSeedFillsTheStateAsTheReferenceSgenrand)
{
    EXPECT_EQ(SetOption("RandSeed", 4357), 0);
    EXPECT_EQ(RandomPosition, 624);
    // Worked out by hand from seed x 69069 + 1, upper halves first.
    EXPECT_EQ(RandomState[0], 0x000011EFu);
    EXPECT_EQ(RandomState[1], 0x6D945A49u);
    EXPECT_EQ(RandomState[623], 0xD727BDE6u);
    SetOption("randseed", 1);
    EXPECT_EQ(RandomState[0], 0x00000001u);
    EXPECT_EQ(RandomState[1], 0x1C59C359u);
}

}  // namespace
