#pragma once
// Reports shared by the main window procedure and the dialog procedures: each writes the
// event variables and then releases WaitForInput.

#include <windows.h>

// Releases a waiting WaitForInput; lost when nobody waits.
void PulseInput();

// How a window reports commands: dialog-keyboard mode reports cancelling instead of
// performing it and, with "messagemode" off, leaves MenuCommand alone for controls.
struct CommandReporting {
    bool dialogKeys;
    WNDPROC defaultProcedure;
};

LRESULT ReportCommand(HWND window, WPARAM wParam, LPARAM lParam, const CommandReporting& reporting);
// WM_NOTIFY: a tab selection change is remembered; every notification ends a wait.
void ReportNotify(const NMHDR& header);
// WM_HSCROLL / WM_VSCROLL from a scroll-bar control: moves its thumb; the end of scrolling
// ends a wait with EventKind 255. The window's own scroll bars (lParam 0) are left to the
// default procedure.
LRESULT ReportScroll(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC defaultProcedure);
// WM_SYSCOMMAND: minimising, maximising and restoring end a wait with EventKind 4.
LRESULT ReportSysCommand(HWND window, WPARAM wParam, LPARAM lParam, WNDPROC defaultProcedure);
// WM_USER, sent by IsDialogMessageA as DM_GETDEFID: Return ends a wait with EventKind 13.
void ReportReturnKey(HWND window, bool alwaysMoveFocus);
// WM_CLOSE in dialog-keyboard mode: the window stays and the wait ends with EventKind 2.
void ReportClose(HWND window);
