#pragma once
// Colours given to ClearWindow: COLORREF values, or 15-bit values in the low-colour mode.

#include <cstdint>

// Red in bits 0-4, green in 5-9, blue in 10-14, each scaled to 0..255 (31 gives 255) and
// packed as red | green << 8 | blue << 16.
uint32_t ColorFrom15Bit(int32_t value);

// `value` as a COLORREF: unchanged when `trueColor` is not 0, else read as 15 bits.
uint32_t ClearColor(int32_t value, int32_t trueColor);
