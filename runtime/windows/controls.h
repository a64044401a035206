#pragma once
// Child controls, control fonts, enabling and focus, on the program thread. The Create
// operations return 0 when the window cannot be made.

#include <windows.h>

#include <cstdint>

#include "values/script_string.h"

// Made with the next id from NextControlId (1000 upward).
HWND CreateRadioButton(HWND parent, const ScriptString& text, int32_t x, int32_t y, int32_t width, int32_t height);
// A negative height drops the horizontal scroll bar, so lines wrap; its absolute value is
// used.
HWND CreateMultiLineEdit(HWND parent, const ScriptString& text, int32_t x, int32_t y, int32_t width, int32_t height);
HWND CreateText(HWND parent, const ScriptString& text, int32_t x, int32_t y, int32_t width, int32_t height);
HWND CreateGroupBox(HWND parent, const ScriptString& text, int32_t x, int32_t y, int32_t width, int32_t height);
// Any window class, everything as given.
HWND CreateControl(const ScriptString& className, const ScriptString& text, uint32_t style, int32_t x, int32_t y,
                   int32_t width, int32_t height, HWND parent, INT_PTR id, HINSTANCE instance, uint32_t exStyle);

// The caller owns the font; 0 when it cannot be made.
HFONT CreateFontHandle(const ScriptString& face, int32_t height, int32_t width, int32_t bold, int32_t italic,
                       int32_t underline);

void EnableControl(HWND window, int32_t enable);
void FocusControl(HWND window);
