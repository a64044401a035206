// Procedure arguments and results, the condition stack and SetBit.

#include "values/proc_values.h"

#include <gtest/gtest.h>

#include <string>

#include "values/number_text.h"

namespace {

void ExpectValue(const ScriptValue& v, int32_t kind, const std::string& text, double real, int32_t integer)
{
    EXPECT_EQ(v.kind, kind);
    EXPECT_EQ(std::string(v.text.View()), text);
    EXPECT_DOUBLE_EQ(v.real, real);
    EXPECT_EQ(v.integer, integer);
}

// A procedure as translated code writes it: read every argument first, then work.
ScriptValue Describe()
{
    ScriptString name = ArgString(1);
    int32_t count = ArgInt(2);
    ScriptString joined = name;
    for (int32_t i = 0; i < count; ++i)
        joined.Append("!");
    return ReturnString(joined);
}

}  // namespace

TEST(ProcValues, ReturnedValuesHoldAllThreeForms)
{
    ScriptValue copy = ReturnInt(-5);
    ExpectValue(ProcArgs[0], ValueInteger, "-5", -5.0, -5);
    ExpectValue(copy, ValueInteger, "-5", -5.0, -5);

    copy = ReturnString("ab");
    ExpectValue(ProcArgs[0], ValueString, "ab", 0.0, 0);
    ExpectValue(copy, ValueString, "ab", 0.0, 0);

    // The returned copy is independent of entry 0.
    ProcArgs[0].text.Assign("changed");
    EXPECT_EQ(std::string(copy.text.View()), "ab");
}

TEST(ProcValues, ArgumentsReadAsPassed)
{
    SetDecimals(0);
    ProcArgs[1] = RealValue(2.75);
    ExpectValue(ProcArgs[1], ValueReal, "3", 2.75, 2);
    ProcArgs[1] = RealValue(-2.75);
    EXPECT_EQ(ArgInt(1), -2);
    // Beyond the 32-bit range there is no integer form; nothing undefined happens.
    ProcArgs[1] = RealValue(1e12);
    EXPECT_EQ(ArgInt(1), 0);

    ProcArgs[2] = StringValue("17");
    EXPECT_EQ(ArgInt(2), 0);  // no conversion from text
    ProcArgs[3] = IntValue(42);
    EXPECT_EQ(std::string(ArgString(3).View()), "42");
    SetDecimals(6);
}

TEST(ProcValues, CallPatternPassesArgumentsAndKeepsUnsetEntries)
{
    ProcArgs[3] = StringValue("left over");
    ProcArgs[1] = StringValue("hey");
    ProcArgs[2] = IntValue(3);
    ScriptValue result = Describe();
    EXPECT_EQ(std::string(result.text.View()), "hey!!!");
    EXPECT_EQ(std::string(ProcArgs[0].text.View()), "hey!!!");
    EXPECT_EQ(std::string(ProcArgs[3].text.View()), "left over");
}

TEST(ConditionStack, PopsInReverseOrderAndGrowsInBlocks)
{
    for (int32_t i = 0; i < 2000; ++i) {
        PushCondition(i * 3 - 7);
        EXPECT_EQ(ConditionStackCapacity() % ConditionBlock, 0u);
    }
    EXPECT_EQ(ConditionStackCapacity(), 2 * ConditionBlock);
    for (int32_t i = 1999; i >= 0; --i) {
        int32_t flag = 12345;
        PopCondition(flag);
        ASSERT_EQ(flag, i * 3 - 7);
    }
    int32_t untouched = 99;
    PopCondition(untouched);  // an unpaired pop reads nothing
    EXPECT_EQ(untouched, 99);
}

TEST(SetBit, SetsAndClearsTheBitModulo32)
{
    struct Case {
        int32_t value, bit, flag, expected;
    };
    const Case cases[] = {
        {0, 3, 1, 8},          {15, 0, 0, 14},         {0, 35, 1, 8},
        {0, 31, 1, INT32_MIN}, {-1, 31, 0, INT32_MAX}, {5, 2, -7, 5},  // any non-zero flag sets; already set stays set
        {5, 1, 0, 5},                                                  // clearing a clear bit
    };
    for (const Case& c : cases)
        EXPECT_EQ(SetBit(c.value, c.bit, c.flag), c.expected) << c.value << " bit " << c.bit << " flag " << c.flag;
}
