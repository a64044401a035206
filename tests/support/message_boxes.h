#pragma once
// Finds the message boxes a program thread shows and answers them, as a user would.

#include <windows.h>

#include <string>
#include <vector>

struct SeenBox {
    std::wstring title;
    std::wstring body;
    bool hasCancel = false;  // warning boxes ask OK/Cancel, error boxes have OK only
};

// Waits up to `timeoutMs` for a visible message box of this process, records its title and
// body, and closes it with `button` (IDOK, IDCANCEL, ...). False when none appeared.
bool AnswerNextMessageBox(int button, SeenBox& seen, DWORD timeoutMs = 10000);
