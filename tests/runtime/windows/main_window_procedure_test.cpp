// What the main window reports to a waiting script, driven from a helper thread as a user
// would drive it.

#include "windows/main_window_procedure.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>

#include "core/command_channel.h"
#include "core/runtime_state.h"
#include "core/startup.h"
#include "support/gui_driver.h"
#include "support/window_pixels.h"
#include "windows/controls.h"
#include "windows/drawing_state.h"
#include "windows/dropped_files.h"
#include "windows/event_variables.h"
#include "windows/main_window.h"
#include "windows/window_settings.h"

namespace {

struct Observed {
    std::atomic<int> step{0};
    std::atomic<int32_t> values[6];
    std::atomic<INT_PTR> window{0};
    std::atomic<INT_PTR> focus{0};
};
Observed Seen;
std::atomic<HWND> Main{nullptr};
std::atomic<HWND> Control{nullptr};

// Called before a test starts its helper thread, which must not see the last test's steps.
void Reset()
{
    Seen.step = 0;
    for (auto& value : Seen.values)
        value = -1;
    Seen.window = 0;
    Seen.focus = 0;
    Main = nullptr;
    Control = nullptr;
}

int RunScript(ScriptBody script)
{
    return RunRuntime(GetModuleHandleA(nullptr), script);
}

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

class MainWindowProcedure : public testing::Test {
protected:
    void SetUp() override { Reset(); }
};
using MainWindowProcedureDeathTest = MainWindowProcedure;

TEST_F(MainWindowProcedure, ControlCommandIsNegatedReportedAs255AndFocusesTheControl)
{
    std::thread user([] {
        ActUntilStepPasses(Seen.step, 1, [] { PostMessageA(Control.load(), BM_CLICK, 0, 0); });
    });
    RunScript([] {
        OpenWindow();
        Control = CreateControl("BUTTON", "Start", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                                MainWindow.load(), -1502, InstanceHandle, 0);
        FocusControl(MainWindow.load());
        Seen.step = 1;
        WaitForInput();
        Seen.values[0] = MenuCommand.load();
        Seen.values[1] = EventKind.load();
        Seen.values[2] = MenuItemChosen(1502);
        Seen.focus = FocusWindow.load();
        Seen.step = 2;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 1502);
    EXPECT_EQ(Seen.values[1].load(), 255);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.focus.load(), reinterpret_cast<INT_PTR>(Control.load()));
}

TEST_F(MainWindowProcedure, MenuItemKeepsItsIdAboveTheSignedRange)
{
    std::thread user([] { ActUntilStepPasses(Seen.step, 1, [] { PostToMain(WM_COMMAND, 40001, 0); }); });
    RunScript([] {
        OpenWindow();
        Seen.step = 1;
        WaitForInput();
        Seen.values[0] = MenuCommand.load();
        Seen.step = 2;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 40001);
}

TEST_F(MainWindowProcedure, DroppedFilesReportTheirFirstPathOnceWhileTheWindowAcceptsThem)
{
    std::thread user([] {
        ActUntilStepPasses(Seen.step, 1, [] {
            HDROP drop = MakeDrop(std::string("C:\\erstes Bild.gif\0C:\\zweites.bmp\0", 34));
            PostToMain(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        });
    });
    static std::string first, again, refused;
    RunScript([] {
        OpenWindow();
        // Not accepted yet: the drop is ignored.
        HDROP ignored = MakeDrop(std::string("C:\\a.gif\0", 9));
        SendMessageA(Main.load(), WM_DROPFILES, reinterpret_cast<WPARAM>(ignored), 0);
        Seen.values[1] = MenuCommand.load();
        refused = TakeDroppedFile().path;
        DragAcceptFiles(Main.load(), TRUE);
        Seen.step = 1;
        WaitForInput();
        Seen.values[0] = MenuCommand.load();
        first = TakeDroppedFile().path;
        again = TakeDroppedFile().path;
        Seen.step = 2;
    });
    user.join();
    EXPECT_NE(Seen.values[1].load(), FileDropCommand);
    EXPECT_EQ(refused, "") << "a window that does not accept files ignores drops";
    EXPECT_EQ(Seen.values[0].load(), FileDropCommand);
    EXPECT_EQ(first, "C:\\erstes Bild.gif");
    EXPECT_EQ(again, "") << "a drop is taken once";
}

TEST_F(MainWindowProcedure, CharacterKeyAndArrowKeyEachEndOneWait)
{
    std::thread user([] {
        // The scan codes in lParam let TranslateMessage find the character.
        ActUntilStepPasses(Seen.step, 1, [] { PostToMain(WM_KEYDOWN, 'A', 0x001E0001); }, 200);
        ActUntilStepPasses(Seen.step, 2, [] { PostToMain(WM_KEYDOWN, VK_LEFT, 0x014B0001); }, 200);
    });
    RunScript([] {
        OpenWindow();
        Seen.step = 1;
        WaitForInput();
        Seen.values[0] = EventKind.load();
        Seen.values[1] = KeyCode.load();
        Seen.step = 2;
        WaitForInput();
        Seen.values[2] = EventKind.load();
        Seen.values[3] = KeyCode.load();
        Seen.step = 3;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 97);
    EXPECT_EQ(Seen.values[1].load(), 65);
    EXPECT_EQ(Seen.values[2].load(), 0);
    EXPECT_EQ(Seen.values[3].load(), 37);
}

TEST_F(MainWindowProcedure, ButtonPressEndsAWaitButItsReleaseDoesNot)
{
    std::thread user([] {
        ActUntilStepPasses(Seen.step, 1, [] { PostToMain(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 34)); });
        WaitForStep(Seen.step, 2);
        Sleep(50);
        for (int i = 0; i < 3; ++i) {
            PostToMain(WM_LBUTTONUP, 0, MAKELPARAM(12, 34));
            Sleep(50);
        }
        ActUntilStepPasses(Seen.step, 2, [] { PostToMain(WM_COMMAND, 77, 0); });
    });
    RunScript([] {
        OpenWindow();
        Seen.step = 1;
        WaitForInput();
        Seen.values[0] = ClickX.load();
        Seen.values[1] = ClickY.load();
        Seen.values[2] = MouseButton.load();
        Seen.step = 2;
        WaitForInput();
        Seen.values[3] = MenuCommand.load();  // 0 if the release had ended the wait
        Seen.values[4] = MouseButton.load();
        Seen.values[5] = LastButton.load();
        Seen.step = 3;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 12);
    EXPECT_EQ(Seen.values[1].load(), 34);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 77);
    EXPECT_EQ(Seen.values[4].load(), 0);
    EXPECT_EQ(Seen.values[5].load(), 1);
}

// "Abbrechen" pressed just before the program sends more text to its result field: the
// field's change notifications during that send are the program's own and keep the command;
// the same notification from the user's typing is reported as before.
TEST_F(MainWindowProcedure, TheProgramsOwnTextSendKeepsACommandNotYetTaken)
{
    constexpr int32_t FieldId = 1000;
    std::thread user([] {
        ActUntilStepPasses(Seen.step, 1, [] { PostMessageA(Control.load(), BM_CLICK, 0, 0); });
        ActUntilStepPasses(Seen.step, 2, [] {
            PostMessageA(GetDlgItem(Main.load(), FieldId), WM_CHAR, 'x', 0);
        });
    });
    RunScript([] {
        OpenWindow();
        HWND field = CreateControl("EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 40, 200, 100,
                                   MainWindow.load(), FieldId, InstanceHandle, 0);
        Control = CreateControl("BUTTON", "Abbrechen", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                                MainWindow.load(), -1503, InstanceHandle, 0);
        Seen.step = 1;
        WaitForInput();
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Zeile 1\r\n"));
        SendMessageA(field, EM_SETSEL, INT_MAX, INT_MAX);
        SendMessageA(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("Zeile 2\r\n"));
        Seen.values[0] = MenuCommand.load();
        FocusControl(field);
        Seen.step = 2;
        WaitForInput();
        Seen.values[1] = MenuCommand.load();
        Seen.step = 3;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 1503) << "after the program's own sends to the field";
    EXPECT_EQ(Seen.values[1].load(), -FieldId) << "after the user typed into the field";
}

// A drag of the frame, as the system's move-size loop brackets it.
void DragFrame(int width, int height)
{
    HWND main = Main.load();
    SendMessageA(main, WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(main, nullptr, 40, 40, width, height, SWP_NOZORDER);
    SendMessageA(main, WM_EXITSIZEMOVE, 0, 0);
}

TEST_F(MainWindowProcedure, MoveEndsNoWaitAndAResizeIsKeptForTheNextWait)
{
    std::thread user([] {
        WaitForStep(Seen.step, 1);
        DragFrame(320, 240);  // moved only
        Seen.values[0] = WaitForSingleObject(InputArrived, 0) == WAIT_TIMEOUT ? 1 : 0;
        DragFrame(400, 300);
        // An input while the script is busy ends no wait, and must not cancel the resize.
        SendMessageA(Main.load(), WM_COMMAND, 7, 0);
        Seen.step = 2;  // the script is busy, not waiting
        // Releases the script if the resize was lost, so that the test fails instead of hanging.
        if (!WaitForStep(Seen.step, 3, 3000))
            PostToMain(WM_COMMAND, 99, 0);
    });
    RunScript([] {
        OpenWindow();
        Seen.step = 1;
        while (Seen.step.load() < 2)
            Sleep(5);
        WaitForInput();
        Seen.values[1] = EventKind.load();
        Seen.values[2] = MenuCommand.load();
        Seen.step = 3;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 0);
    EXPECT_EQ(Seen.values[2].load(), 0);
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

TEST_F(MainWindowProcedure, PaintsFromTheBackingBitmap)
{
    RunScript([] {
        OpenWindow();
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        RECT square = {10, 10, 30, 30};
        FillRect(BackingDC, &square, red);
        DeleteObject(red);
        Seen.values[0] = static_cast<int32_t>(SettledPixel(WindowDC, 15, 15));
        InvalidateRect(MainWindow.load(), nullptr, FALSE);
        Seen.values[1] = static_cast<int32_t>(PixelOnceItIs(WindowDC, 15, 15, RGB(255, 0, 0)));
        Seen.values[2] = static_cast<int32_t>(SettledPixel(WindowDC, 5, 5));
    });
    EXPECT_EQ(Seen.values[0].load(), 0xFFFFFF);  // drawn into the backing bitmap only
    EXPECT_EQ(Seen.values[1].load(), 0x0000FF);
    EXPECT_EQ(Seen.values[2].load(), 0xFFFFFF);
}

TEST_F(MainWindowProcedure, WindowsDoNotOutliveTheRuntime)
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

TEST_F(MainWindowProcedure, ScrollBarMovesItsThumbAndEndsTheWaitOnlyWhenScrollingEnds)
{
    std::thread user([] {
        WaitForStep(Seen.step, 1);
        HWND bar = Control.load();
        auto scroll = [bar](WORD code, WORD position) {
            SendMessageA(Main.load(), WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
            return GetScrollPos(bar, SB_CTL);
        };
        int positions[] = {scroll(SB_LINEDOWN, 0),      scroll(SB_LINEDOWN, 0),    scroll(SB_PAGEDOWN, 0),
                           scroll(SB_THUMBTRACK, 70),   scroll(SB_THUMBPOSITION, 40), scroll(SB_LINEUP, 0),
                           scroll(SB_BOTTOM, 0),        scroll(SB_PAGEUP, 0),      scroll(SB_TOP, 0)};
        const int expected[] = {1, 2, 12, 12, 40, 39, 100, 90, 0};
        Seen.values[0] = std::equal(std::begin(positions), std::end(positions), std::begin(expected));
        Seen.values[1] = Seen.step.load();  // still waiting
        ActUntilStepPasses(Seen.step, 1, [] {
            SendMessageA(Main.load(), WM_HSCROLL, SB_ENDSCROLL, reinterpret_cast<LPARAM>(Control.load()));
        });
    });
    RunScript([] {
        OpenWindow();
        Control = CreateControl("SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 100, 200, 16, MainWindow.load(),
                                5, InstanceHandle, 0);
        SetScrollRange(Control.load(), SB_CTL, 0, 100, FALSE);
        Seen.step = 1;
        WaitForInput();
        Seen.values[2] = EventKind.load();
        Seen.step = 2;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 255);
}

TEST_F(MainWindowProcedure, MaximisingHelpAndTabNotificationsEndAWait)
{
    std::thread user([] {
        // Maximising can take longer than the usual repeat interval on a loaded machine; a
        // second request arriving after the first wait ended would be seen by the next one.
        ActUntilStepPasses(Seen.step, 1, [] { PostToMain(WM_SYSCOMMAND, SC_MAXIMIZE, 0); }, 1000);
        ActUntilStepPasses(Seen.step, 2, [] {
            HELPINFO help = {};
            help.cbSize = sizeof help;
            help.hItemHandle = Control.load();
            SendMessageA(Main.load(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        });
        ActUntilStepPasses(Seen.step, 3, [] {
            NMHDR header = {Control.load(), 5, static_cast<UINT>(TCN_SELCHANGE)};
            SendMessageA(Main.load(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
        });
    });
    RunScript([] {
        OpenWindow();
        Control = CreateText(MainWindow.load(), "Hilfe", 5, 5, 50, 20);
        Seen.step = 1;
        WaitForInput();
        Seen.values[0] = EventKind.load();
        Seen.values[1] = IsZoomed(MainWindow.load());
        Seen.step = 2;
        WaitForInput();
        Seen.values[2] = EventKind.load();
        Seen.focus = FocusWindow.load();
        Seen.step = 3;
        WaitForInput();
        Seen.values[3] = TabChanged.load();
        Seen.window = reinterpret_cast<INT_PTR>(TabControl.load());
        Seen.step = 4;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 4);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 5);
    EXPECT_EQ(Seen.focus.load(), -reinterpret_cast<INT_PTR>(Control.load()));
    EXPECT_EQ(Seen.values[3].load(), 1);
    EXPECT_EQ(Seen.window.load(), reinterpret_cast<INT_PTR>(Control.load()));
}

TEST_F(MainWindowProcedure, DialogKeysReportClosingAndCancellingInsteadOfPerformingThem)
{
    std::thread user([] {
        ActUntilStepPasses(Seen.step, 1, [] { PostToMain(WM_CLOSE, 0, 0); });
        ActUntilStepPasses(Seen.step, 2, [] { PostToMain(WM_COMMAND, IDCANCEL, 0); });
    });
    RunScript([] {
        SetWindowStyle(0x20F);
        OpenWindow();
        Seen.step = 1;
        WaitForInput();
        Seen.values[0] = EventKind.load();
        Seen.values[1] = IsWindow(MainWindow.load());
        Seen.step = 2;
        WaitForInput();
        Seen.values[2] = EventKind.load();
        Seen.step = 3;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 2);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 2);
}

void RunUntilTheWindowIsClosed()
{
    std::thread user([] { ActUntilStepPasses(Seen.step, 1, [] { PostToMain(WM_CLOSE, 0, 0); }); });
    user.detach();
    RunScript([] {
        OpenWindow();
        Seen.step = 1;
        WaitForInput();
        Sleep(INFINITE);  // the script never ends by itself
    });
}

TEST_F(MainWindowProcedureDeathTest, ClosingTheWindowEndsTheProcessWithExitCodeZero)
{
    EXPECT_EXIT(RunUntilTheWindowIsClosed(), testing::ExitedWithCode(0), "");
}

// Exit code 3 if a draw of the script found the window's device contexts gone while it still
// ran.
void DrawUntilTheWindowIsClosed()
{
    std::thread user([] {
        WaitForStep(Seen.step, 1);
        PostToMain(WM_CLOSE, 0, 0);
    });
    user.detach();
    RunScript([] {
        OpenWindow();
        Seen.step = 1;
        for (;;) {
            if (!PatBlt(BackingDC, 0, 0, 4, 4, BLACKNESS))
                ExitProcess(3);
        }
    });
}

TEST_F(MainWindowProcedureDeathTest, ClosingTheWindowWhileTheScriptDrawsReleasesNothingItDrawsThrough)
{
    for (int round = 0; round < 3; ++round)
        EXPECT_EXIT(DrawUntilTheWindowIsClosed(), testing::ExitedWithCode(0), "") << "round " << round;
}

}  // namespace
