#pragma once
// Files dropped on the main window. The first path is kept and reported like a menu
// command, so that the script's main loop finds it with MenuItemChosen.

#include <windows.h>

#include <cstdint>

#include "services/ansi_paths.h"

// Outside the 16-bit range of menu and control identifiers, so no command is mistaken for it.
constexpr int32_t FileDropCommand = 0x10000;

// GUI thread: keeps the drop's first path, reports FileDropCommand and ends a wait; a
// window that does not accept files at the moment (DragAcceptFiles) ignores the drop. Frees
// the drop.
void ReportDroppedFiles(HWND window, HDROP drop);
// Program thread: the path of the last drop, "" when none came since the last call; the
// program thread tells the user when it is unusable, as it is free for a message box.
AnsiPath TakeDroppedFile();
