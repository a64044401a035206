#pragma once
// The font state that the drawing operations set and the window operations read.

#include <windows.h>

#include <cstdint>
#include <vector>

extern HFONT CurrentFont;  // made by the last SelectTextFont; 0 until then
// Fonts of SelectTextFont given to controls: kept until the runtime ends, since nothing tells
// when a control lets go of its font. Program thread only.
extern std::vector<HFONT> ControlFonts;
extern int32_t TextAngle;    // escapement and orientation of new fonts, tenths of a degree
extern int32_t TextCharSet;  // character set of new fonts (0: ANSI)
