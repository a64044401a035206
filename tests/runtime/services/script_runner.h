#pragma once
// Runs a test body as the script of a fresh runtime: on the program thread, while the
// calling thread serves as the GUI thread.

#include <functional>

// Returns the runtime's exit code.
int RunScript(std::function<void()> body);
