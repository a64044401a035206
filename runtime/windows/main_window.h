#pragma once
// The script's operations on the main window, run on the program thread.

#include <windows.h>

#include <cstdint>

#include "values/script_string.h"

void SetWindowTitle(const ScriptString& title);
// Creates the main window, or moves and sizes it when it exists. Negative coordinates are
// warned about (223) and then used.
void OpenMainWindow(int32_t x, int32_t y, int32_t width, int32_t height);
// z: 0 keeps the z-order, -1 topmost, -2 not topmost, 1 bottom, anything else top.
// The z-order choices of SetWindowPosition; any value not named here brings the window to
// the top.
enum ZOrder : int32_t {
    ZOrderNotTopmost = -2,
    ZOrderTopmost = -1,
    ZOrderUnchanged = 0,
    ZOrderBottom = 1,
};
int32_t SetWindowPosition(HWND window, int32_t x, int32_t y, int32_t width, int32_t height, int32_t z);
// Fills the drawing target and its mirror with the colour (15-bit unless TrueColor), puts
// the text cursor home and lets the controls repaint. Opens a 640 x 480 window first if
// there is none.
void ClearWindow(int32_t color);
void ClearWindowDefault();
// Drawing done on the program thread reaches the screen in batches that the GUI thread
// sends when it next looks at its queue; a null message makes it look now.
void ShowDirectDrawing();
// The main window procedure took that null message (or a new main window was made).
void TakeDrawingNudge();
// The cursor's position in the main window's client area; the last inside value while the
// cursor is outside.
int32_t MouseX();
int32_t MouseY();
