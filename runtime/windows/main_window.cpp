#include "main_window.h"

#include <atomic>

#include "color_value.h"
#include "core/command_channel.h"
#include "core/request_records.h"
#include "core/runtime_state.h"
#include "drawing_state.h"
#include "event_variables.h"
#include "text_output.h"
#include "values/error_report.h"
#include "window_settings.h"

namespace {

// A null message for the main window is in the queue.
std::atomic<bool> NudgeQueued{false};

int32_t LastMouseX = 0;
int32_t LastMouseY = 0;

void ReadClientSize(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    ClientWidth.exchange(client.right);
    ClientHeight.exchange(client.bottom);
}

HWND InsertAfter(int32_t z)
{
    switch (z) {
    case ZOrderNotTopmost:
        return HWND_NOTOPMOST;
    case ZOrderTopmost:
        return HWND_TOPMOST;
    case ZOrderBottom:
        return HWND_BOTTOM;
    default:
        return HWND_TOP;
    }
}

BOOL CALLBACK InvalidateChild(HWND child, LPARAM)
{
    InvalidateRect(child, nullptr, FALSE);
    return TRUE;
}

// The cursor in client coordinates of the main window, if it lies in the client area.
bool CursorInClientArea(POINT& point)
{
    HWND main = MainWindow.load();
    RECT client;
    if (!main || !GetCursorPos(&point) || !ScreenToClient(main, &point) || !GetClientRect(main, &client))
        return false;
    return PtInRect(&client, point) != 0;
}

}  // namespace

void SetWindowTitle(const ScriptString& title)
{
    WindowTitle = title;
    if (HWND main = MainWindow.load())
        SetWindowTextA(main, title.Text());
}

void OpenMainWindow(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (x < 0 || y < 0)
        RaiseWarning(ErrorNegativeWindowPosition);
    if (HWND main = MainWindow.load()) {
        // Moved synchronously: the client size read next must be the new one.
        SetWindowPos(main, nullptr, x, y, width, height, SWP_NOZORDER);
        ReadClientSize(main);
        return;
    }
    PostGuiRequest(ReqCreateMainWindow, new MainWindowRequest{x, y, width, height});
}

int32_t SetWindowPosition(HWND window, int32_t x, int32_t y, int32_t width, int32_t height, int32_t z)
{
    if (x < 0 || y < 0)
        RaiseWarning(ErrorNegativeWindowPosition);
    UINT flags = SWP_ASYNCWINDOWPOS;
    if (z == ZOrderUnchanged)
        flags |= SWP_NOZORDER;
    return SetWindowPos(window, InsertAfter(z), x, y, width, height, flags);
}

static void ClearWithColorRef(COLORREF color)
{
    if (!MainWindow.load())
        OpenMainWindow(0, 0, 640, 480);
    {
        auto surfaces = LockWindowSurfaces();
        HBRUSH brush = CreateSolidBrush(color);
        // Null when nothing is the drawing target: then the brush is not kept.
        HGDIOBJ previous = SelectObject(DrawTarget, brush);
        PatBlt(DrawTarget, 0, 0, ScreenWidth, ScreenHeight, PATCOPY);
        if (DrawTarget == WindowDC) {
            RECT all = {0, 0, ScreenWidth, ScreenHeight};
            FillRect(MirrorTarget, &all, brush);
        }
        // The new brush stays selected until the next clear replaces it.
        DeleteObject(previous ? previous : brush);
    }
    SetTextCursor(1, 1);
    EnumChildWindows(MainWindow.load(), InvalidateChild, 0);
    ShowDirectDrawing();
}

void ClearWindow(int32_t color)
{
    ClearWithColorRef(ClearColor(color, TrueColor));
}

// The system colour is a COLORREF whatever the colour mode.
void ClearWindowDefault()
{
    ClearWithColorRef(GetSysColor(COLOR_WINDOW));
}

// One queued nudge serves all drawing before it is taken. In fast mode nothing takes it, and
// a nudge per output would fill the queue.
void ShowDirectDrawing()
{
    HWND main = MainWindow.load();
    if (main && !NudgeQueued.exchange(true) && !PostMessageA(main, WM_NULL, 0, 0))
        NudgeQueued.store(false);
}

void TakeDrawingNudge()
{
    NudgeQueued.store(false);
}

int32_t MouseX()
{
    POINT point;
    if (CursorInClientArea(point))
        LastMouseX = point.x;
    return LastMouseX;
}

int32_t MouseY()
{
    POINT point;
    if (CursorInClientArea(point))
        LastMouseY = point.y;
    return LastMouseY;
}
