#pragma once
// The procedures of the script's own dialog windows: the class "DIALOG" and the dialogs
// made from the templates by ReqLayoutDialog and ReqResourceDialog.

#include <windows.h>

LRESULT CALLBACK DialogWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// lParam of WM_INITDIALOG is a LayoutDialogRequest or 0.
INT_PTR CALLBACK ResourceDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
