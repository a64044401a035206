#pragma once
// Colours given to ClearWindow: COLORREF values, or 15-bit values in the low-colour mode.

#include <cstdint>

// Red in bits 0-4, green in 5-9, blue in 10-14, each scaled to 0..255 (31 gives 255) and
// packed as red | green << 8 | blue << 16.
uint32_t ColorFrom15Bit(int32_t value);

// `value` as a COLORREF: unchanged when `trueColor` is not 0, else read as 15 bits.
uint32_t ClearColor(int32_t value, int32_t trueColor);

// A 32-bit pixel of a device-independent bitmap, 0x00RRGGBB, as the colour value 0x00BBGGRR,
// and back: red and blue change places, the top byte is dropped.
constexpr uint32_t SwapRedBlue(uint32_t colour)
{
    return ((colour >> 16) & 0xFF) | (colour & 0xFF00) | ((colour & 0xFF) << 16);
}
