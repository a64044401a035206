#pragma once
// The GUI thread's request server: serves each GuiRequest that a message loop takes, and
// the synchronous requests sent to the hidden command window.

#include <windows.h>

void ServeRequest(const MSG& msg);

// Registers the class "CW" and creates the hidden CommandWindow; false on failure.
bool CreateCommandWindow();
void DestroyCommandWindow();
