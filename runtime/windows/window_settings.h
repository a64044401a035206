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

// The flags of SetWindowStyle; other bits are ignored.
enum WindowStyleFlag : int32_t {
    WindowMaximizeBox = 0x1,
    WindowMinimizeBox = 0x2,
    WindowSizingFrame = 0x4,
    WindowSystemMenu = 0x8,
    WindowNoMenu = 0x10,
    WindowSeeThrough = 0x20,  // the backing bitmap starts as the screen below
    WindowPopup = 0x40,       // without caption or edge
    WindowDialogKeys = 0x200,
};

// Recomputes WindowStyle from the flags. WS_VISIBLE is left out; the creation request shows
// the window.
void SetWindowStyle(int32_t flags);
void SetColorMode(int32_t flag);
void SetControlFontMode(int32_t flag);
