#pragma once
// The window classes "FENSTER" (main window) and "DIALOG" (the script's dialog windows).

constexpr char MainWindowClass[] = "FENSTER";
constexpr char DialogWindowClass[] = "DIALOG";

// False when a class cannot be registered.
bool RegisterWindowClasses();
void UnregisterWindowClasses();
