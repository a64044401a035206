#pragma once
// Finds a process's top-level windows as a user sees them: visible, by class and owner.

#include <windows.h>

// The first visible top-level window of `process` with this class (in any case) and, when
// `owner` is given, that owner, waiting up to `timeoutMs`; nullptr when none appeared.
HWND WaitForVisibleWindow(DWORD process, const char* className, HWND owner, DWORD timeoutMs);
