#pragma once
// Process start-up and shutdown of the runtime, on the GUI thread.

#include <windows.h>

// The application's main program, run on the program thread. It may return; the program
// then ends as if it had called EndProgram.
using ScriptBody = void (*)();

// Initialises the runtime, runs `script` on the program thread while this thread serves
// windows and requests, shuts down, and returns the exit code. Exits the process with code 1
// when a window class, the command window or the program thread cannot be made.
int RunRuntime(HINSTANCE instance, ScriptBody script);
