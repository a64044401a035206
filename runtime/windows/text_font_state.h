#pragma once
#include <windows.h>

#include <cstdint>

extern HFONT CurrentFont;
extern int32_t TextAngle;
extern int32_t TextCharSet;
