#pragma once
// The off-screen draw buffer starts at 2000 × 2000 pixels and grows when a picture or an
// exported bitmap needs more, up to a limit that keeps its memory reasonable.

#include <cstdint>

constexpr int32_t DrawBufferStartSide = 2000;
constexpr int32_t DrawBufferMaxSide = 8192;
constexpr int64_t DrawBufferMaxPixels = 25'000'000;

void CreateStartDrawBuffer();
// What a task needs of the buffer: its picture, a margin past the picture's right and
// bottom edges that is read but not drawn, and what the message calls the task.
struct DrawBufferNeed {
    int32_t width;
    int32_t height;
    int32_t margin;
    const char* task;  // "umgewandelt", "als Grafik gespeichert"
};
// Makes the buffer hold the picture and its margin. A picture beyond the limits (each side
// with its margin up to DrawBufferMaxSide, the picture's own pixels up to
// DrawBufferMaxPixels), or one whose buffer cannot be made, is told to the user (German
// message box) and false is returned. A grown buffer starts white.
bool EnsureDrawBuffer(const DrawBufferNeed& need);
// A conversion's need: cells at the right and bottom edges read up to one cell past the
// scanned area.
constexpr int32_t ConversionMargin = 16;
constexpr char ConversionTask[] = "umgewandelt";
// Replaces the message box that tells of a too large picture (a run without a window has
// none to show).
void SetTooLargeNotice(void (*notice)(const char* message));
