#pragma once
// The records that GuiRequest's lParam points to, one per request code. Fields the server
// writes are marked "out". Handles and pointers are pointer-sized.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "values/script_string.h"

// ReqCreateMainWindow; allocated with new by the poster and freed by the GUI thread.
struct MainWindowRequest {
    int32_t x, y, width, height;
};

// ReqCreateControl and ReqCreateTabControl.
struct ControlRequest {
    int32_t mode;  // 0: id from NextControlId and the runtime's instance; 1: as given
    DWORD style;
    DWORD exStyle;
    const char* className;
    const char* text;  // ReqCreateTabControl: the first tab's label
    int32_t x, y, width, height;
    HWND parent;
    INT_PTR id;          // mode 1 only; a menu handle for a top-level window
    HINSTANCE instance;  // mode 1 only
    HWND window;         // out: 0 on failure
};

// ReqPeekMessage.
struct PeekMessageRequest {
    int32_t messageWaiting;  // out
};

// ReqLayoutDialog; also what the resource-dialog procedure reads on WM_INITDIALOG.
struct LayoutDialogRequest {
    const char* title;
    HWND parent;
    int32_t x, y, width, height;
    HWND dialog;  // out
};

// ReqResourceDialog.
struct ResourceDialogRequest {
    const char* templateName;
    HWND parent;
    HINSTANCE instance;
    HWND dialog;  // out
};

// ReqPopupMenu: client coordinates of the main window.
struct PopupMenuRequest {
    int32_t x, y;
};

// ReqDestroyWindow.
struct DestroyWindowRequest {
    HWND window;
    int32_t result;  // out
};

// ReqFileDialog.
struct FileDialogRequest {
    int32_t mode;  // 0 open, 1 save
    const char* title;
    const char* filter;
    char* file;  // FileBufferSize bytes: in the initial name, out the chosen path or ""
};
constexpr int FileBufferSize = 296;

// ReqCreateDialogWindow.
struct DialogWindowRequest {
    const char* title;
    HWND parent;
    int32_t x, y, width, height;
    HWND window;  // out
};

// ReqBrowseFolder.
struct BrowseFolderRequest {
    const char* title;
    char* path;  // MAX_PATH bytes, out
};

// ReqEditBoxDialog.
struct EditBoxDialogRequest {
    const char* title;
    int32_t variant;  // 2: "EDITBOX2", else "EDITBOX1"
    INT_PTR result;   // out: 1 confirmed, 0 cancelled, -1 no dialog
};

// ReqListBoxDialog.
struct ListBoxDialogRequest {
    const char* title;
    int32_t lineCount;    // chooses the template "LISTBOX1" to "LISTBOX8"
    ScriptString chosen;  // out
};

// ReqInputDialog.
struct InputDialogRequest {
    const char* prompt;
    const char* title;
    ScriptString text;  // in: the edit's text; out: the confirmed text or ""
};

// ReqSendToAll.
struct SendToAllRequest {
    HWND window;
    UINT message;
    const std::vector<ScriptString>* list;
};

// ReqCustomDialog: not waited for; the poster keeps the record alive while the dialog
// procedure needs it.
struct CustomDialogRequest {
    INT_PTR field1, field2, field3;
    DLGPROC procedure;
};
