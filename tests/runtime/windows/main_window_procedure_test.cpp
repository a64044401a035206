// What the main window reports to a waiting script, driven from a helper thread as a user
// would drive it.

#include "windows/main_window_procedure.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/command_channel.h"
#include "core/runtime_state.h"
#include "support/gui_driver.h"
#include "support/script_runner.h"
#include "support/window_pixels.h"
#include "windows/controls.h"
#include "windows/drawing_state.h"
#include "windows/dropped_files.h"
#include "windows/event_variables.h"
#include "windows/main_window.h"
#include "windows/window_settings.h"

namespace {

std::atomic<HWND> Main{nullptr};

void OpenWindow()
{
    OpenMainWindow(20, 20, 320, 240);
    Main = MainWindow.load();
}

void PostToMain(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(Main.load(), message, wParam, lParam);
}

// A drop of `paths` as the shell hands it over: DROPFILES followed by the zero-terminated
// paths and one more zero byte.
HDROP MakeDrop(const std::string& paths)
{
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + paths.size() + 2);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), paths.data(), paths.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// One turn of the user and the waiting script: the input, given again and again until the
// script's wait has ended, and what the script must see then.
struct Turn {
    std::function<void()> input;
    std::function<void()> seen;
    DWORD repeatMs = 50;
};

// Runs `start` as the script's beginning, then the turns in order.
void Converse(const std::function<void()>& start, const std::vector<Turn>& turns)
{
    std::atomic<int> step{0};
    RunScript(
        [&] {
            start();
            for (const Turn& turn : turns) {
                ++step;
                WaitForInput();
                turn.seen();
            }
            ++step;
        },
        [&] {
            for (int i = 0; i < static_cast<int>(turns.size()); ++i)
                ActUntilStepPasses(step, i + 1, turns[i].input, turns[i].repeatMs);
        });
}

TEST(MainWindowProcedure, ControlCommandIsNegatedReportedAs255AndFocusesTheControl)
{
    std::atomic<HWND> button{nullptr};
    Converse(
        [&] {
            OpenWindow();
            button = CreateControl("BUTTON", "Start", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                                   MainWindow.load(), -1502, InstanceHandle, 0);
            FocusControl(MainWindow.load());
        },
        {{[&] { PostMessageA(button.load(), BM_CLICK, 0, 0); },
          [&] {
              EXPECT_EQ(MenuCommand.load(), 1502);
              EXPECT_EQ(EventKind.load(), 255);
              EXPECT_EQ(MenuItemChosen(1502), 1);
              EXPECT_EQ(FocusWindow.load(), reinterpret_cast<INT_PTR>(button.load()));
          }}});
}

TEST(MainWindowProcedure, MenuItemKeepsItsIdAboveTheSignedRange)
{
    Converse(OpenWindow, {{[] { PostToMain(WM_COMMAND, 40001, 0); }, [] { EXPECT_EQ(MenuCommand.load(), 40001); }}});
}

TEST(MainWindowProcedure, DroppedFilesReportTheirFirstPathOnceWhileTheWindowAcceptsThem)
{
    Converse(
        [] {
            OpenWindow();
            // Not accepted yet: the drop is ignored.
            HDROP ignored = MakeDrop(std::string("C:\\a.gif\0", 9));
            SendMessageA(Main.load(), WM_DROPFILES, reinterpret_cast<WPARAM>(ignored), 0);
            EXPECT_NE(MenuCommand.load(), FileDropCommand);
            EXPECT_EQ(TakeDroppedFile().path, "") << "a window that does not accept files ignores drops";
            DragAcceptFiles(Main.load(), TRUE);
        },
        {{[] {
              HDROP drop = MakeDrop(std::string("C:\\erstes Bild.gif\0C:\\zweites.bmp\0", 34));
              PostToMain(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
          },
          [] {
              EXPECT_EQ(MenuCommand.load(), FileDropCommand);
              EXPECT_EQ(TakeDroppedFile().path, "C:\\erstes Bild.gif");
              EXPECT_EQ(TakeDroppedFile().path, "") << "a drop is taken once";
          }}});
}

TEST(MainWindowProcedure, CharacterKeyAndArrowKeyEachEndOneWait)
{
    // The scan codes in lParam let TranslateMessage find the character.
    Converse(OpenWindow, {{[] { PostToMain(WM_KEYDOWN, 'A', 0x001E0001); },
                           [] {
                               EXPECT_EQ(EventKind.load(), 97);
                               EXPECT_EQ(KeyCode.load(), 65);
                           },
                           200},
                          {[] { PostToMain(WM_KEYDOWN, VK_LEFT, 0x014B0001); },
                           [] {
                               EXPECT_EQ(EventKind.load(), 0);
                               EXPECT_EQ(KeyCode.load(), 37);
                           },
                           200}});
}

TEST(MainWindowProcedure, ButtonPressEndsAWaitButItsReleaseDoesNot)
{
    Converse(OpenWindow, {{[] { PostToMain(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 34)); },
                           [] {
                               EXPECT_EQ(ClickX.load(), 12);
                               EXPECT_EQ(ClickY.load(), 34);
                               EXPECT_EQ(MouseButton.load(), 1);
                           }},
                          {[] {
                               for (int i = 0; i < 3; ++i) {
                                   PostToMain(WM_LBUTTONUP, 0, MAKELPARAM(12, 34));
                                   Sleep(50);
                               }
                               PostToMain(WM_COMMAND, 77, 0);
                           },
                           [] {
                               EXPECT_EQ(MenuCommand.load(), 77) << "0 if a release had ended the wait";
                               EXPECT_EQ(MouseButton.load(), 0);
                               EXPECT_EQ(LastButton.load(), 1);
                           }}});
}

// "Abbrechen" pressed just before the program sends more text to its result field: the
// field's change notifications during that send are the program's own and keep the command;
// the same notification from the user's typing is reported as before.
TEST(MainWindowProcedure, TheProgramsOwnTextSendKeepsACommandNotYetTaken)
{
    constexpr int32_t FieldId = 1000;
    std::atomic<HWND> button{nullptr};
    Converse(
        [&] {
            OpenWindow();
            CreateControl("EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 40, 200, 100, MainWindow.load(),
                          FieldId, InstanceHandle, 0);
            button = CreateControl("BUTTON", "Abbrechen", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                                   MainWindow.load(), -1503, InstanceHandle, 0);
        },
        {{[&] { PostMessageA(button.load(), BM_CLICK, 0, 0); },
          [] {
              HWND field = GetDlgItem(Main.load(), FieldId);
              SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Zeile 1\r\n"));
              SendMessageA(field, EM_SETSEL, INT_MAX, INT_MAX);
              SendMessageA(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("Zeile 2\r\n"));
              EXPECT_EQ(MenuCommand.load(), 1503) << "after the program's own sends to the field";
              FocusControl(field);
          }},
         {[] { PostMessageA(GetDlgItem(Main.load(), FieldId), WM_CHAR, 'x', 0); },
          [] { EXPECT_EQ(MenuCommand.load(), -FieldId) << "after the user typed into the field"; }}});
}

// A drag of the frame, as the system's move-size loop brackets it.
void DragFrame(int width, int height)
{
    HWND main = Main.load();
    SendMessageA(main, WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(main, nullptr, 40, 40, width, height, SWP_NOZORDER);
    SendMessageA(main, WM_EXITSIZEMOVE, 0, 0);
}

TEST(MainWindowProcedure, MoveEndsNoWaitAndAResizeIsKeptForTheNextWait)
{
    std::atomic<int> step{0};
    RunScript(
        [&] {
            OpenWindow();
            step = 1;
            while (step.load() < 2)
                Sleep(5);
            WaitForInput();
            EXPECT_EQ(EventKind.load(), 0);
            EXPECT_EQ(MenuCommand.load(), 0);
            step = 3;
        },
        [&] {
            WaitForStep(step, 1);
            DragFrame(320, 240);  // moved only
            EXPECT_EQ(WaitForSingleObject(InputArrived, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "a move ends no wait";
            DragFrame(400, 300);
            // An input while the script is busy ends no wait, and must not cancel the resize.
            SendMessageA(Main.load(), WM_COMMAND, 7, 0);
            step = 2;  // the script is busy, not waiting
            // Releases the script if the resize was lost, so that the test fails instead of hanging.
            if (!WaitForStep(step, 3, 3000))
                PostToMain(WM_COMMAND, 99, 0);
        });
}

// The pixel once it has become `expected`, or what it is after about a second.
COLORREF PixelOnceItIs(HDC dc, int x, int y, COLORREF expected)
{
    COLORREF pixel = SettledPixel(dc, x, y);
    for (int i = 0; i < 100 && pixel != expected; ++i) {
        Sleep(10);
        pixel = SettledPixel(dc, x, y);
    }
    return pixel;
}

TEST(MainWindowProcedure, PaintsFromTheBackingBitmap)
{
    RunScript([] {
        OpenWindow();
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        RECT square = {10, 10, 30, 30};
        FillRect(BackingDC, &square, red);
        DeleteObject(red);
        EXPECT_EQ(SettledPixel(WindowDC, 15, 15), 0xFFFFFFu) << "drawn into the backing bitmap only";
        InvalidateRect(MainWindow.load(), nullptr, FALSE);
        EXPECT_EQ(PixelOnceItIs(WindowDC, 15, 15, RGB(255, 0, 0)), 0x0000FFu);
        EXPECT_EQ(SettledPixel(WindowDC, 5, 5), 0xFFFFFFu);
    });
}

TEST(MainWindowProcedure, WindowsDoNotOutliveTheRuntime)
{
    RunScript([] {
        OpenWindow();
        CreateText(MainWindow.load(), "x", 0, 0, 10, 10);
    });
    EXPECT_FALSE(IsWindow(Main.load()));
    EXPECT_EQ(MainWindow.load(), nullptr);
    EXPECT_EQ(WindowDC, nullptr);
    EXPECT_EQ(BackingDC, nullptr);
}

TEST(MainWindowProcedure, ScrollBarMovesItsThumbAndEndsTheWaitOnlyWhenScrollingEnds)
{
    constexpr int32_t BarId = 5;
    std::atomic<int> step{0};
    RunScript(
        [&] {
            OpenWindow();
            HWND bar = CreateControl("SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 100, 200, 16,
                                     MainWindow.load(), BarId, InstanceHandle, 0);
            SetScrollRange(bar, SB_CTL, 0, 100, FALSE);
            step = 1;
            WaitForInput();
            EXPECT_EQ(EventKind.load(), 255);
            step = 2;
        },
        [&] {
            WaitForStep(step, 1);
            HWND bar = GetDlgItem(Main.load(), BarId);
            auto scroll = [bar](WORD code, WORD position) {
                SendMessageA(Main.load(), WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
                return GetScrollPos(bar, SB_CTL);
            };
            std::vector<int> positions = {
                scroll(SB_LINEDOWN, 0),    scroll(SB_LINEDOWN, 0),       scroll(SB_PAGEDOWN, 0),
                scroll(SB_THUMBTRACK, 70), scroll(SB_THUMBPOSITION, 40), scroll(SB_LINEUP, 0),
                scroll(SB_BOTTOM, 0),      scroll(SB_PAGEUP, 0),         scroll(SB_TOP, 0)};
            EXPECT_EQ(positions, (std::vector<int>{1, 2, 12, 12, 40, 39, 100, 90, 0}));
            EXPECT_EQ(step.load(), 1) << "still waiting";
            ActUntilStepPasses(
                step, 1, [bar] { SendMessageA(Main.load(), WM_HSCROLL, SB_ENDSCROLL, reinterpret_cast<LPARAM>(bar)); });
        });
}

TEST(MainWindowProcedure, MaximisingHelpAndTabNotificationsEndAWait)
{
    std::atomic<HWND> text{nullptr};
    Converse(
        [&] {
            OpenWindow();
            text = CreateText(MainWindow.load(), "Hilfe", 5, 5, 50, 20);
        },
        {// Maximising can take longer than the usual repeat interval on a loaded machine; a
         // second request arriving after the first wait ended would be seen by the next one.
         {[] { PostToMain(WM_SYSCOMMAND, SC_MAXIMIZE, 0); },
          [] {
              EXPECT_EQ(EventKind.load(), 4);
              EXPECT_TRUE(IsZoomed(MainWindow.load()));
          },
          1000},
         {[&] {
              HELPINFO help = {};
              help.cbSize = sizeof help;
              help.hItemHandle = text.load();
              SendMessageA(Main.load(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
          },
          [&] {
              EXPECT_EQ(EventKind.load(), 5);
              EXPECT_EQ(FocusWindow.load(), -reinterpret_cast<INT_PTR>(text.load()));
          }},
         {[&] {
              NMHDR header = {text.load(), 5, static_cast<UINT>(TCN_SELCHANGE)};
              SendMessageA(Main.load(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
          },
          [&] {
              EXPECT_EQ(TabChanged.load(), 1);
              EXPECT_EQ(TabControl.load(), text.load());
          }}});
}

TEST(MainWindowProcedure, DialogKeysReportClosingAndCancellingInsteadOfPerformingThem)
{
    Converse(
        [] {
            SetWindowStyle(0x20F);
            OpenWindow();
        },
        {{[] { PostToMain(WM_CLOSE, 0, 0); },
          [] {
              EXPECT_EQ(EventKind.load(), 2);
              EXPECT_TRUE(IsWindow(MainWindow.load()));
          }},
         {[] { PostToMain(WM_COMMAND, IDCANCEL, 0); }, [] { EXPECT_EQ(EventKind.load(), 2); }}});
}

// Opens the main window, then goes on with `then`, which never returns by itself, while a
// helper thread closes the window: the process ends with the runtime.
void CloseTheWindowDuring(void (*then)())
{
    std::atomic<int> step{0};
    RunScript(
        [&] {
            OpenWindow();
            step = 1;
            then();
        },
        [&] { ActUntilStepPasses(step, 1, [] { PostToMain(WM_CLOSE, 0, 0); }); });
}

void WaitForever()
{
    WaitForInput();
    Sleep(INFINITE);  // the script never ends by itself
}

TEST(MainWindowProcedureDeathTest, ClosingTheWindowEndsTheProcessWithExitCodeZero)
{
    EXPECT_EXIT(CloseTheWindowDuring(WaitForever), testing::ExitedWithCode(0), "");
}

// Exit code 3 if a draw of the script found the window's device contexts gone while it still
// ran.
void DrawForever()
{
    for (;;) {
        if (!PatBlt(BackingDC, 0, 0, 4, 4, BLACKNESS))
            ExitProcess(3);
    }
}

TEST(MainWindowProcedureDeathTest, ClosingTheWindowWhileTheScriptDrawsReleasesNothingItDrawsThrough)
{
    for (int round = 0; round < 3; ++round)
        EXPECT_EXIT(CloseTheWindowDuring(DrawForever), testing::ExitedWithCode(0), "") << "round " << round;
}

}  // namespace
