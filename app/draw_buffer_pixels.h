#pragma once
// Reads the off-screen draw buffer's pixels a band of rows at a time with one GetDIBits,
// instead of one GetPixel per pixel; the values are the same.

#include <cstdint>
#include <vector>

class DrawBufferPixels {
public:
    // Colour values (red in bits 0-7) of a width × height block from (x, y), row by row;
    // a pixel outside the buffer reads as GetPixel reads it there, CLR_INVALID.
    void Read(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours);
    // The buffer was drawn into or replaced: rows read before are stale.
    void Forget();

private:
    void Fetch(int32_t top, int32_t rows);

    std::vector<uint32_t> band_;  // bottom-up, as GetDIBits delivers rows
    int32_t bufferWidth_ = 0;
    int32_t bandTop_ = 0;
    int32_t bandRows_ = 0;
};
