#pragma once
// The off-screen draw buffer starts at 2000 × 2000 pixels and grows when a picture or an
// exported bitmap needs more, up to a limit that keeps its memory reasonable.

#include <cstdint>

constexpr int32_t DrawBufferStartSide = 2000;
constexpr int32_t DrawBufferMaxSide = 8192;
constexpr int64_t DrawBufferMaxPixels = 25'000'000;

void CreateStartDrawBuffer();
// Makes the buffer at least width × height. Beyond the limit the user is told (German
// message box) and false is returned. A grown buffer starts white.
bool EnsureDrawBuffer(int32_t width, int32_t height);
// Replaces the message box that tells of a too large picture (a run without a window has
// none to show).
void SetTooLargeNotice(void (*notice)(const char* message));
