#pragma once
// Settings of the main window, kept until it is created, and the modes that the window
// operations read. Window-free so that the style arithmetic builds natively.

#include <cstdint>

#include "values/script_string.h"

constexpr uint32_t DefaultWindowStyle = 0x14CF2000;
constexpr uint32_t DefaultWindowExStyle = 0x100;  // WS_EX_WINDOWEDGE

extern ScriptString WindowTitle;
extern uint32_t WindowStyle;
extern uint32_t WindowExStyle;
extern int32_t NoMenu;           // only ever set
extern int32_t SeeThrough;       // only ever set: the backing bitmap starts as the screen
extern int32_t DialogKeys;       // only ever set: dialog-keyboard mode
extern int32_t ControlFontMode;  // controls made afterwards get CurrentFont
extern int32_t TrueColor;        // 0: ClearWindow takes 15-bit colours

// Restores the start-up defaults.
void ResetWindowSettings();

// Recomputes WindowStyle from the flags: 1 maximise box, 2 minimise box, 4 sizing frame,
// 8 system menu, 0x10 no menu, 0x20 see-through, 0x40 popup without caption, 0x200 dialog
// keys. WS_VISIBLE is left out; the creation request shows the window.
void SetWindowStyle(int32_t flags);
void SetColorMode(int32_t flag);
void SetControlFontMode(int32_t flag);
