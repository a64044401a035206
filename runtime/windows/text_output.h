#pragma once
// Terminal-like text output into the main window: a cursor over a grid of fixed-pitch
// cells, drawn into the window and its backing bitmap.

#include <windows.h>

#include <cstdint>

#include "values/script_string.h"

extern HFONT TextFont;
extern int32_t CharWidth;
extern int32_t LineHeight;
extern int32_t TextLine;    // 0-based
extern int32_t TextColumn;  // 0-based, in characters

// Takes the fixed system font and measures its cell.
void InitialiseTextOutput();

// Modes: 0 print and append a blank, 1 print only, 2 print and go to the next line. With
// `wrap`, text beyond the right edge continues on the next line. `pad` has no effect.
void PrintText(ScriptString text, int32_t mode, int32_t wrap, int32_t pad);
// Prints a text that may hold CR LF line breaks.
void PrintLines(const ScriptString& text, int32_t mode);
// 1-based; values below 1 count as 1.
void SetTextCursor(int32_t line, int32_t column);
