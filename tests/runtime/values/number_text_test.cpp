#include "values/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct FloatCase {
    int32_t places;
    double value;
    const char* expected;
};

class NumberTextTest : public ::testing::Test {
protected:
    void TearDown() override { SetDecimals(6); }
};

}  // namespace

TEST_F(NumberTextTest, IntegersHaveNoPaddingOrGrouping)
{
    EXPECT_STREQ(IntToStr(0).Text(), "0");
    EXPECT_STREQ(IntToStr(1234567).Text(), "1234567");
    EXPECT_STREQ(IntToStr(-42).Text(), "-42");
    EXPECT_STREQ(IntToStr(INT32_MIN).Text(), "-2147483648");
    EXPECT_STREQ(IntToStr(INT32_MAX).Text(), "2147483647");
}

TEST_F(NumberTextTest, FixedPointWithDecimalPlaces)
{
    const FloatCase cases[] = {
        {6, 2.5, "2.500000"}, {6, -0.25, "-0.250000"}, {6, 0.0, "0.000000"},     {6, 0.05, "0.050000"},
        {0, 0.3, "0"},        {0, 12.0, "12"},         {2, 1234.567, "1234.57"}, {0, -7.0, "-7"},
    };
    for (const FloatCase& c : cases) {
        SetDecimals(c.places);
        EXPECT_STREQ(FloatToStr(c.value).Text(), c.expected) << c.value << " with " << c.places;
    }
}

TEST_F(NumberTextTest, HugeValuesNeitherOverflowNorFail)
{
    SetDecimals(6);
    std::string text = FloatToStr(1e300).Text();
    EXPECT_EQ(text.size(), 301u + 7u);
    EXPECT_EQ(text.substr(0, 2), "10");
}

TEST_F(NumberTextTest, SeparatorComesFromTheLocale)
{
    SetDecimalSeparator(",");
    SetDecimals(2);
    EXPECT_STREQ(FloatToStr(1.5).Text(), "1,50");
    SetDecimalSeparator(".");
}
