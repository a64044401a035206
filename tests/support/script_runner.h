#pragma once
// Runs a test body as the script of a fresh runtime: on the program thread, while the
// calling thread serves as the GUI thread. The body checks what it sees where it sees it,
// with GoogleTest's assertions, so that a failure prints the value seen beside the one
// expected; an ASSERT ends the script there.

#include <functional>

// Runs `body` as the script and, when given, `user` on a helper thread beside it, acting as
// a user would; returns the runtime's exit code once both have ended.
int RunScript(std::function<void()> body, std::function<void()> user = nullptr);
