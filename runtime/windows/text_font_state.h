#pragma once
// The font state that the drawing operations set and the window operations read.

#include <windows.h>

#include <cstdint>

extern HFONT CurrentFont;     // made by the last SelectTextFont; 0 until then
extern int32_t TextAngle;     // escapement and orientation of new fonts, tenths of a degree
extern int32_t TextCharSet;   // character set of new fonts (0: ANSI)
