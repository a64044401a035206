#pragma once
// Start-up defaults and shutdown of the window part of the runtime.

// Creates InputArrived, resets the window state and installs the error boxes; false when a
// window class cannot be registered.
bool InitialiseWindowRuntime();
void CleanupWindowRuntime();
