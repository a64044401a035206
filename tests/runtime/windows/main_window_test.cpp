// Opening, placing and clearing the main window.

#include "windows/main_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "core/runtime_state.h"
#include "core/startup.h"
#include "services/draw_target.h"
#include "support/gdi_handles.h"
#include "support/message_boxes.h"
#include "support/window_pixels.h"
#include "values/error_report.h"
#include "windows/drawing_state.h"
#include "windows/event_variables.h"
#include "windows/text_output.h"
#include "windows/window_settings.h"

namespace {

struct Observed {
    std::atomic<int32_t> values[8];
    RECT rect;
};
Observed Seen;

int RunScript(ScriptBody script)
{
    for (auto& value : Seen.values)
        value = -1;
    Seen.rect = {};
    return RunRuntime(GetModuleHandleA(nullptr), script);
}

int32_t Pixel(HDC dc, int x, int y)
{
    return static_cast<int32_t>(SettledPixel(dc, x, y));
}

TEST(ClearWindow, BeforeAnyWindowOpensA640By480WindowAtTheOrigin)
{
    RunScript([] {
        ClearWindow(0x7FFF);
        GetWindowRect(MainWindow.load(), &Seen.rect);
    });
    EXPECT_EQ(Seen.rect.left, 0);
    EXPECT_EQ(Seen.rect.top, 0);
    EXPECT_EQ(Seen.rect.right - Seen.rect.left, 640);
    EXPECT_EQ(Seen.rect.bottom - Seen.rect.top, 480);
}

TEST(ClearWindow, FifteenBitColoursFillTheWindowAndItsBackingBitmap)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        ClearWindow(0x001F);
        Seen.values[0] = Pixel(WindowDC, 50, 50);
        Seen.values[1] = Pixel(BackingDC, 50, 50);
        Seen.values[2] = Pixel(BackingDC, ScreenWidth - 1, ScreenHeight - 1);  // beyond the client area
        ClearWindow(0x7FFF);
        Seen.values[3] = Pixel(WindowDC, 50, 50);
        Seen.values[4] = Pixel(BackingDC, 50, 50);
    });
    EXPECT_EQ(Seen.values[0].load(), 0x0000FF);
    EXPECT_EQ(Seen.values[1].load(), 0x0000FF);
    EXPECT_EQ(Seen.values[2].load(), 0x0000FF);
    EXPECT_EQ(Seen.values[3].load(), 0xFFFFFF);
    EXPECT_EQ(Seen.values[4].load(), 0xFFFFFF);
}

TEST(ClearWindow, TrueColourIsUsedAsItIsAndTheTextCursorGoesHome)
{
    RunScript([] {
        SetColorMode(1);
        OpenMainWindow(10, 10, 300, 200);
        SetTextCursor(3, 7);
        ClearWindow(0x00FF00);
        Seen.values[0] = Pixel(BackingDC, 5, 5);
        Seen.values[1] = TextLine;
        Seen.values[2] = TextColumn;
    });
    EXPECT_EQ(Seen.values[0].load(), 0x00FF00);
    EXPECT_EQ(Seen.values[1].load(), 0);
    EXPECT_EQ(Seen.values[2].load(), 0);
}

TEST(ClearWindow, WithNothingAsTheDrawingTargetLeavesNoBrushBehind)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        BeginDraw(DrawBufferWindow);  // there is no draw buffer
        int before = FreeGdiHandles();
        for (int i = 0; i < 300; ++i)
            ClearWindow(0x001F);
        Seen.values[0] = before - FreeGdiHandles();
        EndDraw();
    });
    EXPECT_LE(Seen.values[0].load(), 4);
}

TEST(MainWindow, StyleFlags0x92GiveAWindowWithAMinimiseBoxAndNoMenu)
{
    RunScript([] {
        SetWindowStyle(0x92);
        SetWindowTitle("Glyphmill 1.2");
        OpenMainWindow(10, 10, 300, 200);
        HWND main = MainWindow.load();
        LONG style = GetWindowLongA(main, GWL_STYLE);
        Seen.values[0] = static_cast<int32_t>(WindowStyle);
        Seen.values[1] = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_SYSMENU)) == WS_MINIMIZEBOX;
        Seen.values[2] = GetMenu(main) == nullptr;
        Seen.values[3] = IsWindowVisible(main);
        char title[32] = {};
        GetWindowTextA(main, title, sizeof title);
        Seen.values[4] = lstrcmpA(title, "Glyphmill 1.2") == 0;
    });
    EXPECT_EQ(Seen.values[0].load(), 0x22000);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 1);
    EXPECT_EQ(Seen.values[4].load(), 1);
}

TEST(MainWindow, DefaultWindowHasTheBlankMenuAndTheDefaultTitle)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HWND main = MainWindow.load();
        HMENU menu = GetMenu(main);
        Seen.values[0] = menu != nullptr;
        Seen.values[1] = menu ? GetMenuItemCount(menu) : -1;
        Seen.values[5] = menu ? GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED : -1;
        Seen.values[6] = GetClassLongPtrA(main, GCLP_HICON) != 0;  // "KORVEL" from the resources
        char title[32] = {};
        GetWindowTextA(main, title, sizeof title);
        Seen.values[2] = lstrcmpA(title, "KorvelRT-Fenster") == 0;
        SetWindowTitle("Neu");
        GetWindowTextA(main, title, sizeof title);
        Seen.values[3] = lstrcmpA(title, "Neu") == 0;
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[5].load(), MF_GRAYED);
    EXPECT_EQ(Seen.values[6].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 1);
}

TEST(MainWindow, OpeningAgainMovesItAndTakesTheNewClientSize)
{
    RunScript([] {
        SetWindowStyle(0x92);
        OpenMainWindow(10, 10, 300, 200);
        HWND first = MainWindow.load();
        int32_t before = ClientWidth.load();
        OpenMainWindow(30, 40, 400, 300);
        Seen.values[0] = MainWindow.load() == first;
        Seen.values[1] = ClientWidth.load() - before;
        GetWindowRect(first, &Seen.rect);
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 100);
    EXPECT_EQ(Seen.rect.left, 30);
    EXPECT_EQ(Seen.rect.top, 40);
}

bool IsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// SetWindowPosition is asynchronous: the GUI thread applies it when it gets to it.
bool WaitForTopmost(HWND window, bool topmost)
{
    for (int i = 0; i < 200 && IsTopmost(window) != topmost; ++i)
        Sleep(5);
    return IsTopmost(window) == topmost;
}

TEST(SetWindowPosition, ZOrderChoices)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HWND main = MainWindow.load();
        Seen.values[0] = SetWindowPosition(main, 20, 20, 300, 200, -1) != 0 && WaitForTopmost(main, true);
        SetWindowPosition(main, 25, 20, 300, 200, 0);  // keeps its place: still topmost
        Sleep(100);
        Seen.values[1] = IsTopmost(main);
        SetWindowPosition(main, 20, 20, 300, 200, -2);
        Seen.values[2] = WaitForTopmost(main, false);
        RECT rect = {};
        for (int i = 0; i < 200 && rect.left != 20; ++i) {
            Sleep(5);
            GetWindowRect(main, &rect);
        }
        Seen.values[3] = rect.left;
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 20);
}

TEST(MainWindow, NegativePositionWarns223AndIsStillUsed)
{
    SeenBox box;
    std::thread user([&box] { AnswerNextMessageBox(IDOK, box); });
    RunScript([] {
        ErrorLevel = 1;
        OpenMainWindow(-20, 10, 300, 200);
        RECT rect;
        GetWindowRect(MainWindow.load(), &rect);
        Seen.values[0] = rect.left;
    });
    user.join();
    EXPECT_EQ(box.title, L"Negative Fenstergröße!");
    EXPECT_TRUE(box.hasCancel);
    EXPECT_EQ(Seen.values[0].load(), -20);
}

TEST(MainWindow, MousePositionIsInClientCoordinatesAndKeptWhileOutside)
{
    RunScript([] {
        OpenMainWindow(100, 100, 300, 200);
        POINT origin = {0, 0};
        ClientToScreen(MainWindow.load(), &origin);
        SetCursorPos(origin.x + 30, origin.y + 40);
        Seen.values[0] = MouseX();
        Seen.values[1] = MouseY();
        SetCursorPos(5, 5);  // outside the window
        Seen.values[2] = MouseX();
        Seen.values[3] = MouseY();
    });
    EXPECT_EQ(Seen.values[0].load(), 30);
    EXPECT_EQ(Seen.values[1].load(), 40);
    EXPECT_EQ(Seen.values[2].load(), 30);
    EXPECT_EQ(Seen.values[3].load(), 40);
}

void OpenWithoutTheWindowClass()
{
    RunScript([] {
        UnregisterClassA("FENSTER", InstanceHandle);
        OpenMainWindow(10, 10, 300, 200);
        Sleep(INFINITE);  // not reached: the process has ended
    });
}

TEST(MainWindowDeathTest, AMainWindowThatCannotBeMadeEndsTheProcessWithExitCodeOne)
{
    EXPECT_EXIT(OpenWithoutTheWindowClass(), testing::ExitedWithCode(1), "");
}

}  // namespace
