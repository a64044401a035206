#pragma once
// The modal dialogs made from the program's templates "INPUT", "EDITBOX1"/"EDITBOX2" and
// "LISTBOX1" to "LISTBOX8", and the line list that the edit-box and list-box dialogs show.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "values/script_string.h"

// 1 when the folder browser, the input or the list-box dialog was confirmed; 0 when the
// folder browser and 2 when one of the two dialogs was cancelled.
extern std::atomic<int32_t> DialogResult;

extern std::vector<ScriptString> LineList;

// Control ids the templates carry.
constexpr int PromptTextId = 100;
constexpr int DialogEditId = 101;
constexpr int DialogListId = 101;
constexpr int CopyButtonId = 102;
constexpr int CutButtonId = 103;
constexpr int PasteButtonId = 104;

// lParam of WM_INITDIALOG: an InputDialogRequest.
INT_PTR CALLBACK InputDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// lParam of WM_INITDIALOG: an EditBoxDialogRequest.
INT_PTR CALLBACK EditBoxDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// lParam of WM_INITDIALOG: a ListBoxDialogRequest.
INT_PTR CALLBACK ListBoxDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The template a list-box dialog of `lineCount` lines uses: "LISTBOX1" to "LISTBOX8",
// "LISTBOX7" for counts outside that range.
const char* ListBoxTemplate(int32_t lineCount);
