// Opening, placing and clearing the main window.

#include "windows/main_window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/runtime_state.h"
#include "services/draw_target.h"
#include "support/gdi_handles.h"
#include "support/gui_driver.h"
#include "support/message_boxes.h"
#include "support/script_runner.h"
#include "support/window_pixels.h"
#include "values/error_report.h"
#include "windows/drawing_state.h"
#include "windows/event_variables.h"
#include "windows/text_output.h"
#include "windows/window_settings.h"

namespace {

int32_t Pixel(HDC dc, int x, int y)
{
    return static_cast<int32_t>(SettledPixel(dc, x, y));
}

TEST(ClearWindow, BeforeAnyWindowOpensA640By480WindowAtTheOrigin)
{
    RunScript([] {
        ClearWindow(0x7FFF);
        RECT rect = {};
        GetWindowRect(MainWindow.load(), &rect);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.right - rect.left, 640);
        EXPECT_EQ(rect.bottom - rect.top, 480);
    });
}

TEST(ClearWindow, FifteenBitColoursFillTheWindowAndItsBackingBitmap)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        ClearWindow(0x001F);
        EXPECT_EQ(Pixel(WindowDC, 50, 50), 0x0000FF);
        EXPECT_EQ(Pixel(BackingDC, 50, 50), 0x0000FF);
        EXPECT_EQ(Pixel(BackingDC, ScreenWidth - 1, ScreenHeight - 1), 0x0000FF);  // beyond the client area
        ClearWindow(0x7FFF);
        EXPECT_EQ(Pixel(WindowDC, 50, 50), 0xFFFFFF);
        EXPECT_EQ(Pixel(BackingDC, 50, 50), 0xFFFFFF);
    });
}

TEST(ClearWindow, TrueColourIsUsedAsItIsAndTheTextCursorGoesHome)
{
    RunScript([] {
        SetColorMode(1);
        OpenMainWindow(10, 10, 300, 200);
        SetTextCursor(3, 7);
        ClearWindow(0x00FF00);
        EXPECT_EQ(Pixel(BackingDC, 5, 5), 0x00FF00);
        EXPECT_EQ(TextLine, 0);
        EXPECT_EQ(TextColumn, 0);
    });
}

TEST(ClearWindow, WithNothingAsTheDrawingTargetLeavesNoBrushBehind)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        BeginDraw(DrawBufferWindow);  // there is no draw buffer
        int before = FreeGdiHandles();
        for (int i = 0; i < 300; ++i)
            ClearWindow(0x001F);
        EXPECT_LE(before - FreeGdiHandles(), 4);
        EndDraw();
    });
}

TEST(MainWindow, StyleFlags0x92GiveAWindowWithAMinimiseBoxAndNoMenu)
{
    RunScript([] {
        SetWindowStyle(0x92);
        SetWindowTitle("Glyphmill 1.2");
        OpenMainWindow(10, 10, 300, 200);
        HWND main = MainWindow.load();
        LONG style = GetWindowLongA(main, GWL_STYLE);
        EXPECT_EQ(WindowStyle, 0x22000u);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_SYSMENU), WS_MINIMIZEBOX);
        EXPECT_EQ(GetMenu(main), nullptr);
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(WindowText(main), "Glyphmill 1.2");
    });
}

TEST(MainWindow, DefaultWindowHasTheBlankMenuAndTheDefaultTitle)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HWND main = MainWindow.load();
        HMENU menu = GetMenu(main);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(GetMenuItemCount(menu), 1);
        EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
        EXPECT_NE(GetClassLongPtrA(main, GCLP_HICON), 0u);  // "KORVEL" from the resources
        EXPECT_EQ(WindowText(main), "KorvelRT-Fenster");
        SetWindowTitle("Neu");
        EXPECT_EQ(WindowText(main), "Neu");
    });
}

TEST(MainWindow, OpeningAgainMovesItAndTakesTheNewClientSize)
{
    RunScript([] {
        SetWindowStyle(0x92);
        OpenMainWindow(10, 10, 300, 200);
        HWND first = MainWindow.load();
        int32_t before = ClientWidth.load();
        OpenMainWindow(30, 40, 400, 300);
        EXPECT_EQ(MainWindow.load(), first);
        EXPECT_EQ(ClientWidth.load() - before, 100);
        RECT rect = {};
        GetWindowRect(first, &rect);
        EXPECT_EQ(rect.left, 30);
        EXPECT_EQ(rect.top, 40);
    });
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
        EXPECT_NE(SetWindowPosition(main, 20, 20, 300, 200, -1), 0);
        EXPECT_TRUE(WaitForTopmost(main, true));
        SetWindowPosition(main, 25, 20, 300, 200, 0);  // keeps its place: still topmost
        Sleep(100);
        EXPECT_TRUE(IsTopmost(main));
        SetWindowPosition(main, 20, 20, 300, 200, -2);
        EXPECT_TRUE(WaitForTopmost(main, false));
        RECT rect = {};
        for (int i = 0; i < 200 && rect.left != 20; ++i) {
            Sleep(5);
            GetWindowRect(main, &rect);
        }
        EXPECT_EQ(rect.left, 20);
    });
}

TEST(MainWindow, NegativePositionWarns223AndIsStillUsed)
{
    SeenBox box;
    RunScript(
        [] {
            ErrorLevel = 1;
            OpenMainWindow(-20, 10, 300, 200);
            RECT rect;
            GetWindowRect(MainWindow.load(), &rect);
            EXPECT_EQ(rect.left, -20);
        },
        [&box] { AnswerNextMessageBox(IDOK, box); });
    EXPECT_EQ(box.title, L"Negative Fenstergröße!");
    EXPECT_TRUE(box.hasCancel);
}

TEST(MainWindow, MousePositionIsInClientCoordinatesAndKeptWhileOutside)
{
    RunScript([] {
        OpenMainWindow(100, 100, 300, 200);
        POINT origin = {0, 0};
        ClientToScreen(MainWindow.load(), &origin);
        SetCursorPos(origin.x + 30, origin.y + 40);
        EXPECT_EQ(MouseX(), 30);
        EXPECT_EQ(MouseY(), 40);
        SetCursorPos(5, 5);  // outside the window
        EXPECT_EQ(MouseX(), 30);
        EXPECT_EQ(MouseY(), 40);
    });
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
