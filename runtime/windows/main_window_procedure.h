#pragma once
// The window procedure of the class "FENSTER": the main window, painted from its backing
// bitmap, reporting menu choices, commands, keys, clicks, scrolling and resizing.

#include <windows.h>

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Set while the runtime shuts down: destroying the main window then only releases it.
void SetMainWindowShutdown(bool shuttingDown);
