#include "number_text.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

int32_t DecimalPlaces = 6;

namespace {

std::string DecimalSeparator = ".";

}  // namespace

void SetDecimals(int32_t places)
{
    DecimalPlaces = places;
}

void SetDecimalSeparator(const char* separator)
{
    DecimalSeparator.assign(separator ? separator : ".", 0, 7);
}

ScriptString IntToStr(int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    return ScriptString(text);
}

ScriptString FloatToStr(double value)
{
    // A negative count of decimals is treated as none; the script never sets one.
    int places = DecimalPlaces > 0 ? DecimalPlaces : 0;
    // Room for the 309 integer digits of the largest double, its sign and point.
    std::vector<char> digits(static_cast<size_t>(places) + 320);
    auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, places);
    if (error != std::errc())
        return ScriptString();
    std::string text(digits.data(), end);
    size_t point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, DecimalSeparator);
    return ScriptString(text.c_str());
}
