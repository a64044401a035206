#pragma once
// Reads pixels of a window's device context from another thread than the one that paints
// it: while that thread is between BeginPaint and EndPaint the window's own device context
// is clipped to the update region, and GetPixel answers CLR_INVALID outside it.

#include <windows.h>

// The pixel once the device context answers for it (up to about a second).
COLORREF SettledPixel(HDC dc, int x, int y);
