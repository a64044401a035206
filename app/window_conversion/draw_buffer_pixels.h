#pragma once
// Reads the off-screen draw buffer's pixels straight from its bits once GDI has finished
// drawing, instead of one GetPixel per pixel; the values are the same.

#include <cstdint>

// Colour values (red in bits 0-7) of a width × height block from (x, y), row by row; a
// pixel outside the buffer reads as GetPixel reads it there, CLR_INVALID.
void ReadDrawBufferPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours);
