#pragma once
// Drives a running runtime from a helper thread, as a user would: waits for the script to
// reach a step, finds its windows, and keeps acting until the script has moved on.

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

// Waits up to `timeoutMs` for a visible window of this process with the class name,
// optionally owned by `owner`; nullptr when none appeared.
HWND WaitForWindowOfClass(const char* className, HWND owner = nullptr, DWORD timeoutMs = 10000);

// The text of a window of this process (up to 511 characters).
std::string WindowText(HWND window);

// Waits until `step` reaches `from`, then repeats `action` every `intervalMs` until `step`
// has passed `from` (or `timeoutMs` elapsed). Repeating covers an action that came before
// the script started to wait. False on time-out.
bool ActUntilStepPasses(const std::atomic<int>& step, int from, const std::function<void()>& action,
                        DWORD intervalMs = 50, DWORD timeoutMs = 10000);

// Waits until `step` reaches `value`; false on time-out.
bool WaitForStep(const std::atomic<int>& step, int value, DWORD timeoutMs = 10000);
