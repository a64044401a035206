#pragma once
// The GUI thread's message loops: the main loop, and the two nested loops of fast mode.

#include <windows.h>

// Runs until WM_QUIT; returns its wParam.
int RunMainLoop();
// Entered by ReqEnterFastMode: takes only requests from the queue until ReqLeaveFastMode or
// WM_QUIT, so the windows stay frozen while the script computes.
void RunFastLoop();
