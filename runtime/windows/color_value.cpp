#include "color_value.h"

namespace {

uint32_t ScaleLevel(int32_t level)
{
    // Single precision, truncated: 31 x 8.226 just passes 255.
    return static_cast<uint32_t>(static_cast<float>(level) * 8.226f);
}

}  // namespace

uint32_t ColorFrom15Bit(int32_t value)
{
    uint32_t red = ScaleLevel(value & 0x1F);
    uint32_t green = ScaleLevel((value >> 5) & 0x1F);
    uint32_t blue = ScaleLevel((value >> 10) & 0x1F);
    return red | green << 8 | blue << 16;
}

uint32_t ClearColor(int32_t value, int32_t trueColor)
{
    return trueColor != 0 ? static_cast<uint32_t>(value) : ColorFrom15Bit(value);
}
