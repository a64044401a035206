#pragma once
// Start-up defaults and shutdown of the window part of the runtime.

// Creates InputArrived, resets the window state, measures the text font, registers the
// window classes and installs the error boxes; false when a class cannot be registered.
bool InitialiseWindowRuntime();
// Destroys the windows the GUI thread still holds and releases what the window runtime
// made.
void CleanupWindowRuntime();
