#include "dialog_procedures.h"

#include "core/request_records.h"
#include "core/runtime_state.h"
#include "event_variables.h"
#include "input_reports.h"
#include "services/owned_handles.h"

namespace {

// Dialogs report cancelling instead of performing it, and negate control ids only while
// "messagemode" is on.
const CommandReporting DialogCommands = {true, DefDlgProcA};

// The dialog manager does the default work of a dialog procedure.
LRESULT CALLBACK NoDefault(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

// The size a move or resize started with; one drag happens at a time. The program thread
// goes on meanwhile, as for the main window.
RECT SizeMoveStart = {};

void RememberSizeMoveStart(HWND window)
{
    GetWindowRect(window, &SizeMoveStart);
}

bool WasResized(HWND window)
{
    RECT after;
    GetWindowRect(window, &after);
    return after.right - after.left != SizeMoveStart.right - SizeMoveStart.left ||
           after.bottom - after.top != SizeMoveStart.bottom - SizeMoveStart.top;
}

void ReportChildButton(WPARAM wParam)
{
    WORD event = LOWORD(wParam);
    if (event == WM_RBUTTONDOWN || event == WM_MBUTTONDOWN)
        PulseInput();
}

LRESULT OnDialogCreate(HWND window)
{
    WindowDc dc(window);
    SetBkColor(dc.Get(), GetSysColor(COLOR_BTNFACE));
    return 0;
}

LRESULT OnDialogPaint(HWND window)
{
    ValidateRect(window, nullptr);
    return 0;
}

LRESULT OnDialogExitSizeMove(HWND window)
{
    if (WasResized(window)) {
        // Scripts recognise a dialog's resize by this message number in CurrentMessage.
        CurrentMessage.message.exchange(160);
        EventKind.exchange(4);
        SetEvent(InputArrived);
    }
    return 0;
}

void ApplyLayout(HWND dialog, const LayoutDialogRequest& layout)
{
    SetWindowTextA(dialog, layout.title);
    SetWindowPos(dialog, nullptr, layout.x, layout.y, layout.width, layout.height, SWP_NOZORDER);
    SetFocus(dialog);
}

}  // namespace

LRESULT CALLBACK DialogWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    RecordCurrentMessage(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return OnDialogCreate(window);
    case WM_PAINT:
        return OnDialogPaint(window);
    case WM_COMMAND:
        return ReportCommand(window, wParam, lParam, DialogCommands);
    case WM_NOTIFY:
        ReportNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        return ReportScroll(window, message, wParam, lParam, DefDlgProcA);
    case WM_SYSCOMMAND:
        return ReportSysCommand(window, wParam, lParam, DefDlgProcA);
    case WM_ENTERSIZEMOVE:
        RememberSizeMoveStart(window);
        BringWindowToTop(window);
        return 0;
    case WM_EXITSIZEMOVE:
        return OnDialogExitSizeMove(window);
    case WM_USER:
        ReportReturnKey(window, true);
        return 0;
    case WM_CLOSE:
        ReportClose(window);
        return 0;
    case WM_ACTIVATE:
        ActiveDialog.exchange(LOWORD(wParam) != WA_INACTIVE ? window : nullptr);
        return 0;
    case WM_PARENTNOTIFY:
        ReportChildButton(wParam);
        return 0;
    default:
        return DefDlgProcA(window, message, wParam, lParam);
    }
}

INT_PTR CALLBACK ResourceDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (lParam)
            ApplyLayout(dialog, *reinterpret_cast<const LayoutDialogRequest*>(lParam));
        return FALSE;
    case WM_ACTIVATE:
        ActiveDialog.exchange(LOWORD(wParam) != WA_INACTIVE ? dialog : nullptr);
        return 0;
    case WM_COMMAND:
        ReportCommand(dialog, wParam, lParam, {true, NoDefault});
        return TRUE;
    case WM_NOTIFY:
        ReportNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ReportScroll(dialog, message, wParam, lParam, NoDefault);
        return TRUE;
    case WM_USER:
        ReportReturnKey(dialog, true);
        return TRUE;
    case WM_CLOSE:
        ReportClose(dialog);
        return TRUE;
    case WM_PARENTNOTIFY:
        ReportChildButton(wParam);
        return TRUE;
    case WM_ENTERSIZEMOVE:
        RememberSizeMoveStart(dialog);
        return TRUE;
    case WM_EXITSIZEMOVE:
        return TRUE;
    default:
        return FALSE;
    }
}
