#include "main_window_procedure.h"

#include <cstdint>

#include "core/runtime_state.h"
#include "drawing_state.h"
#include "dropped_files.h"
#include "event_variables.h"
#include "input_reports.h"
#include "main_window.h"
#include "services/owned_handles.h"
#include "window_settings.h"

namespace {

// Per-window state, made on WM_CREATE and released on WM_DESTROY.
struct MainWindowData {
    bool dialogKeys = false;
    bool keyPending = false;
    RECT sizeMoveStart = {};
    HGDIOBJ initialBitmap = nullptr;  // what BackingDC held before BackingBitmap
};

bool ShuttingDown = false;

MainWindowData* DataOf(HWND window)
{
    return reinterpret_cast<MainWindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void FillBacking(HWND window)
{
    if (SeeThrough) {
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        WindowDc screen(nullptr);
        BitBlt(BackingDC, 0, 0, ScreenWidth - origin.x, ScreenHeight - origin.y, screen.Get(), origin.x, origin.y,
               SRCCOPY);
        return;
    }
    RECT all = {0, 0, ScreenWidth, ScreenHeight};
    FillRect(BackingDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

LRESULT OnCreate(HWND window)
{
    // A nudge still queued for an earlier main window went with it.
    TakeDrawingNudge();
    auto* data = new MainWindowData;
    data->dialogKeys = DialogKeys != 0;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    WindowDC = GetDC(window);
    BackingDC = CreateCompatibleDC(WindowDC);
    BackingBitmap = CreateCompatibleBitmap(WindowDC, ScreenWidth, ScreenHeight);
    data->initialBitmap = SelectObject(BackingDC, BackingBitmap);
    FillBacking(window);
    // The class has its own device context: the handle stays valid after the release.
    ReleaseDC(window, WindowDC);
    for (HDC dc : {WindowDC, BackingDC}) {
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
        SelectObject(dc, GetStockObject(BLACK_PEN));
    }
    DrawTarget = WindowDC;
    MirrorTarget = BackingDC;
    RECT client;
    GetClientRect(window, &client);
    ClientWidth.exchange(client.right);
    ClientHeight.exchange(client.bottom);
    return 0;
}

void ReleaseDrawingState(MainWindowData& data)
{
    // ClearWindow leaves its brush selected in the window's device context; it dies with
    // the window.
    DeleteObject(SelectObject(WindowDC, GetStockObject(WHITE_BRUSH)));
    SelectObject(BackingDC, data.initialBitmap);
    DeleteObject(BackingBitmap);
    DeleteDC(BackingDC);
    if (DrawTarget == WindowDC || DrawTarget == BackingDC)
        DrawTarget = nullptr;
    if (MirrorTarget == WindowDC || MirrorTarget == BackingDC)
        MirrorTarget = nullptr;
    WindowDC = nullptr;
    BackingDC = nullptr;
    BackingBitmap = nullptr;
}

LRESULT OnDestroy(HWND window)
{
    // The script gets no chance to clean up. It is stopped before anything it may draw
    // through is released; and a thread killed inside the heap or GDI leaves their locks
    // taken, so after the kill nothing that may need them runs: the process ends here rather
    // than through the shutdown steps.
    if (!ShuttingDown && ProgramThread && WaitForSingleObject(ProgramThread, 0) == WAIT_TIMEOUT) {
        TerminateThread(ProgramThread, 0);
        TerminateProcess(GetCurrentProcess(), 0);
    }
    MainWindowData* data = DataOf(window);
    ReleaseDrawingState(*data);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    delete data;
    HWND expected = window;
    MainWindow.compare_exchange_strong(expected, nullptr);
    if (!ShuttingDown)
        PostQuitMessage(0);
    return 0;
}

LRESULT OnPaint(HWND window)
{
    auto surfaces = LockWindowSurfaces();
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const RECT& area = paint.rcPaint;
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, BackingDC, area.left, area.top,
           SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnActivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!DataOf(window)->dialogKeys)
        return DefWindowProcA(window, message, wParam, lParam);
    ActiveDialog.exchange(LOWORD(wParam) != WA_INACTIVE ? window : nullptr);
    return 0;
}

LRESULT OnClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!DataOf(window)->dialogKeys)
        return DefWindowProcA(window, message, wParam, lParam);
    ReportClose(window);
    return 0;
}

LRESULT OnHelp(const HELPINFO& help)
{
    FocusWindow.exchange(-reinterpret_cast<INT_PTR>(help.hItemHandle));
    EventKind.exchange(5);
    PulseInput();
    return TRUE;
}

LRESULT OnKeyDown(HWND window, WPARAM wParam)
{
    MainWindowData* data = DataOf(window);
    KeyCode.exchange(LOWORD(wParam));
    data->keyPending = true;
    if (data->dialogKeys) {
        PulseInput();
        return 0;
    }
    // Reported once the character that TranslateMessage queued (if any) has been seen.
    PostMessageA(window, WM_CHAR, wParam, 0);
    return 0;
}

LRESULT OnChar(HWND window, WPARAM wParam, LPARAM lParam)
{
    MainWindowData* data = DataOf(window);
    if (data->keyPending) {
        if (lParam != 0) {
            EventKind.exchange(static_cast<int32_t>(wParam));
            data->keyPending = false;
            return 0;
        }
        if (wParam != VK_F1)
            EventKind.exchange(0);
    }
    PulseInput();
    data->keyPending = false;
    return 0;
}

LRESULT OnButtonDown(HWND window, int button, LPARAM lParam)
{
    SetFocus(window);
    LastButton.exchange(button);
    MouseButton.exchange(button);
    ClickX.exchange(LOWORD(lParam));
    ClickY.exchange(HIWORD(lParam));
    PulseInput();
    return 0;
}

LRESULT OnMiddleButtonDown(HWND window)
{
    SetFocus(window);
    PulseInput();
    return 0;
}

bool IsQuietChildClass(HWND child)
{
    char className[61] = {};
    GetClassNameA(child, className, sizeof className);
    return lstrcmpiA(className, "EDIT") == 0 || lstrcmpiA(className, "SCROLLBAR") == 0;
}

LRESULT OnParentNotify(HWND window, WPARAM wParam)
{
    WORD event = LOWORD(wParam);
    if (event == WM_CREATE || event == WM_DESTROY || DataOf(window)->dialogKeys)
        return 0;
    POINT cursor;
    GetCursorPos(&cursor);
    if (!IsQuietChildClass(WindowFromPoint(cursor)))
        PulseInput();
    return 0;
}

// The program thread goes on meanwhile: requests reach the command window through the move
// loop's own dispatching.
LRESULT OnEnterSizeMove(HWND window)
{
    GetWindowRect(window, &DataOf(window)->sizeMoveStart);
    return 0;
}

LRESULT OnExitSizeMove(HWND window)
{
    const RECT& before = DataOf(window)->sizeMoveStart;
    RECT after;
    GetWindowRect(window, &after);
    bool resized = after.right - after.left != before.right - before.left ||
                   after.bottom - after.top != before.bottom - before.top;
    if (resized) {
        EventKind.exchange(4);
        // Set, not pulsed: a script that is busy sees the resize at its next wait.
        SetEvent(InputArrived);
    }
    return 0;
}

LRESULT OnDropFiles(HWND window, WPARAM wParam)
{
    ReportDroppedFiles(window, reinterpret_cast<HDROP>(wParam));
    return 0;
}

LRESULT OnUser(HWND window)
{
    ReportReturnKey(window, false);
    return 0;
}

}  // namespace

void SetMainWindowShutdown(bool shuttingDown)
{
    ShuttingDown = shuttingDown;
}

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    RecordCurrentMessage(window, message, wParam, lParam);
    // Messages before WM_CREATE (WM_NCCREATE and its like) find no state yet.
    if (message != WM_CREATE && !DataOf(window))
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_DESTROY:
        return OnDestroy(window);
    case WM_ACTIVATE:
        return OnActivate(window, message, wParam, lParam);
    case WM_PAINT:
        return OnPaint(window);
    case WM_CLOSE:
        return OnClose(window, message, wParam, lParam);
    case WM_ERASEBKGND:
        return 0;
    case WM_NULL:
        TakeDrawingNudge();
        return 0;
    case WM_NOTIFY:
        ReportNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_HELP:
        return OnHelp(*reinterpret_cast<const HELPINFO*>(lParam));
    case WM_KEYDOWN:
        return OnKeyDown(window, wParam);
    case WM_CHAR:
        return OnChar(window, wParam, lParam);
    case WM_COMMAND:
        return ReportCommand(window, wParam, lParam, {DataOf(window)->dialogKeys, DefWindowProcA});
    case WM_SYSCOMMAND:
        return ReportSysCommand(window, wParam, lParam, DefWindowProcA);
    case WM_HSCROLL:
    case WM_VSCROLL:
        return ReportScroll(window, message, wParam, lParam, DefWindowProcA);
    case WM_LBUTTONDOWN:
        return OnButtonDown(window, 1, lParam);
    case WM_RBUTTONDOWN:
        return OnButtonDown(window, 2, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        MouseButton.exchange(0);
        return 0;
    case WM_MBUTTONDOWN:
        return OnMiddleButtonDown(window);
    case WM_PARENTNOTIFY:
        return OnParentNotify(window, wParam);
    case WM_ENTERSIZEMOVE:
        return OnEnterSizeMove(window);
    case WM_EXITSIZEMOVE:
        return OnExitSizeMove(window);
    case WM_DROPFILES:
        return OnDropFiles(window, wParam);
    case WM_USER:
        return OnUser(window);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
