#pragma once
// The event variables through which the window procedures report input to the script.
// Written by the GUI thread with exchanges before InputArrived is pulsed or set.

#include <windows.h>

#include <atomic>
#include <cstdint>

extern std::atomic<int32_t> MenuCommand;
extern std::atomic<int32_t> EventKind;
extern std::atomic<int32_t> KeyCode;
extern std::atomic<int32_t> ClickX;
extern std::atomic<int32_t> ClickY;
extern std::atomic<int32_t> MouseButton;
extern std::atomic<int32_t> LastButton;
extern std::atomic<int32_t> TabChanged;
extern std::atomic<HWND> TabControl;
// The focused window when a wait ends, the control just used, or a help item negated; held
// pointer-sized so that a negated handle survives on 64-bit.
extern std::atomic<INT_PTR> FocusWindow;
extern std::atomic<int32_t> ClientWidth;
extern std::atomic<int32_t> ClientHeight;

// 1 if the last command or menu choice was `id`.
int32_t MenuItemChosen(int32_t id);
