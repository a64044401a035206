#pragma once
// The popup menu the script builds in MenuTable slot 0 and shows at a point of the main
// window.

#include <windows.h>

#include <array>
#include <cstdint>

constexpr int MenuTableSlots = 32;
extern std::array<HMENU, MenuTableSlots> MenuTable;

// Shows MenuTable[0] at client point (x, y) of the main window, then destroys it. The
// chosen item's id is left in MenuCommand, 0 when the menu was dismissed.
void ShowPopupMenu(int32_t x, int32_t y);
