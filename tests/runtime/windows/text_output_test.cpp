// Terminal-like text output: wrapping, the cursor after each mode, scrolling, line breaks.

#include "windows/text_output.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "core/command_channel.h"
#include "core/runtime_state.h"
#include "core/startup.h"
#include "support/window_pixels.h"
#include "windows/controls.h"
#include "windows/drawing_state.h"
#include "windows/event_variables.h"
#include "windows/main_window.h"
#include "windows/window_settings.h"

namespace {

struct Observed {
    std::atomic<int32_t> values[12];
};
Observed Seen;

int RunScript(ScriptBody script)
{
    for (auto& value : Seen.values)
        value = -1;
    return RunRuntime(GetModuleHandleA(nullptr), script);
}

int32_t Columns()
{
    return ClientWidth.load() / CharWidth;
}

int32_t Lines()
{
    return ClientHeight.load() / LineHeight;
}

// True when the cell shows any pixel in the text colour (black on white).
bool CellHasInk(HDC dc, int32_t line, int32_t column)
{
    for (int y = 0; y < LineHeight; ++y) {
        for (int x = 0; x < CharWidth; ++x) {
            if (SettledPixel(dc, column * CharWidth + x, line * LineHeight + y) == 0)
                return true;
        }
    }
    return false;
}

void OpenWindow()
{
    OpenMainWindow(0, 0, 500, 300);
}

std::atomic<int> NudgesTaken{0};

LRESULT CALLBACK CountNudges(int code, WPARAM removal, LPARAM message)
{
    const MSG& taken = *reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && taken.message == WM_NULL && taken.hwnd &&
        taken.hwnd == MainWindow.load())
        ++NudgesTaken;
    return CallNextHookEx(nullptr, code, removal, message);
}

TEST(TextOutput, LongTextWrapsAtTheRightEdgeAndEndsTheLineItSplitOn)
{
    RunScript([] {
        OpenWindow();
        int32_t columns = Columns();
        PrintText(std::string(static_cast<size_t>(columns) + 20, 'x').c_str(), 1, 1, 1);
        Seen.values[0] = TextLine;
        Seen.values[1] = TextColumn;
        Seen.values[2] = CellHasInk(BackingDC, 0, columns - 1);
        Seen.values[3] = CellHasInk(BackingDC, 1, 19);
        Seen.values[4] = CellHasInk(BackingDC, 1, 20);
        Seen.values[5] = CellHasInk(WindowDC, 1, 19);
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 20);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 1);
    EXPECT_EQ(Seen.values[4].load(), 0);
    EXPECT_EQ(Seen.values[5].load(), 1);
}

TEST(TextOutput, CursorAfterEachMode)
{
    RunScript([] {
        OpenWindow();
        const int32_t modes[] = {0, 1, 2, 7};
        for (int i = 0; i < 4; ++i) {
            SetTextCursor(1, 1);
            PrintText("abc", modes[i], 1, 1);
            Seen.values[2 * i] = TextLine;
            Seen.values[2 * i + 1] = TextColumn;
        }
    });
    EXPECT_EQ(Seen.values[0].load(), 0);  // mode 0: a blank follows
    EXPECT_EQ(Seen.values[1].load(), 4);
    EXPECT_EQ(Seen.values[2].load(), 0);  // mode 1
    EXPECT_EQ(Seen.values[3].load(), 3);
    EXPECT_EQ(Seen.values[4].load(), 1);  // mode 2: start of the next line
    EXPECT_EQ(Seen.values[5].load(), 0);
    EXPECT_EQ(Seen.values[6].load(), 0);  // any other mode acts like 1
    EXPECT_EQ(Seen.values[7].load(), 3);
}

TEST(TextOutput, LineBreaksAreDroppedAndACursorBeyondTheEdgeNeverWraps)
{
    RunScript([] {
        OpenWindow();
        PrintText("a\r\nb\n", 1, 1, 1);
        Seen.values[0] = TextLine;
        Seen.values[1] = TextColumn;
        SetTextCursor(1, Columns() + 5);
        PrintText("abc", 1, 1, 1);
        Seen.values[2] = TextLine;
        Seen.values[3] = TextColumn - Columns();
    });
    EXPECT_EQ(Seen.values[0].load(), 0);
    EXPECT_EQ(Seen.values[1].load(), 2);
    EXPECT_EQ(Seen.values[2].load(), 0);
    EXPECT_EQ(Seen.values[3].load(), 7);
}

TEST(TextOutput, PrintingBelowTheLastLineScrollsTextAndControlsUpByOneLine)
{
    RunScript([] {
        OpenWindow();
        HWND main = MainWindow.load();
        HWND label = CreateText(main, "Etikett", 300, 100, 80, 20);
        SetTextCursor(3, 1);
        PrintText("mark", 1, 0, 0);
        RECT before;
        GetWindowRect(label, &before);
        int32_t lines = Lines();
        SetTextCursor(lines + 1, 1);
        PrintText("z", 2, 1, 1);
        RECT after;
        GetWindowRect(label, &after);
        Seen.values[0] = TextLine - lines;
        Seen.values[1] = before.top - after.top;
        Seen.values[2] = CellHasInk(BackingDC, 1, 0);  // "mark" moved from line 2 to line 1
        Seen.values[3] = CellHasInk(BackingDC, 2, 0);
        Seen.values[4] = CellHasInk(BackingDC, lines - 1, 0);  // "z" on the last line
        Seen.values[5] = CellHasInk(WindowDC, 1, 0);
    });
    EXPECT_EQ(Seen.values[0].load(), 0);
    EXPECT_EQ(Seen.values[1].load(), LineHeight);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 0);
    EXPECT_EQ(Seen.values[4].load(), 1);
    EXPECT_EQ(Seen.values[5].load(), 1);
}

TEST(TextOutput, PrintLinesPutsEachPieceOnItsOwnLine)
{
    RunScript([] {
        OpenWindow();
        PrintLines("a\r\nb", 1);
        Seen.values[0] = TextLine;
        Seen.values[1] = TextColumn;
        Seen.values[2] = CellHasInk(BackingDC, 0, 0);
        Seen.values[3] = CellHasInk(BackingDC, 1, 0);
        SetTextCursor(1, 1);
        PrintLines("ab\r\ncd", 0);
        Seen.values[4] = TextLine;
        Seen.values[5] = TextColumn;  // after "cd" and the blank
        SetTextCursor(1, 1);
        PrintLines("ab\r\ncd", 2);
        Seen.values[6] = TextLine;
        Seen.values[7] = TextColumn;
        SetTextCursor(1, 1);
        PrintLines("\r\n\r\n", 1);  // no pieces: one new line
        Seen.values[8] = TextLine;
        Seen.values[9] = TextColumn;
        SetTextCursor(1, 1);
        PrintLines("ohne Umbruch", 0);
        Seen.values[10] = TextLine;
        Seen.values[11] = TextColumn;
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 1);
    EXPECT_EQ(Seen.values[4].load(), 1);
    EXPECT_EQ(Seen.values[5].load(), 3);
    EXPECT_EQ(Seen.values[6].load(), 2);
    EXPECT_EQ(Seen.values[7].load(), 0);
    EXPECT_EQ(Seen.values[8].load(), 1);
    EXPECT_EQ(Seen.values[9].load(), 0);
    EXPECT_EQ(Seen.values[10].load(), 0);
    EXPECT_EQ(Seen.values[11].load(), 13);
}

TEST(TextOutput, SetTextCursorTakesOneBasedValuesAndClampsBelowOne)
{
    struct Case {
        int32_t line, column, expectedLine, expectedColumn;
    };
    const Case cases[] = {{0, 0, 0, 0}, {1, 1, 0, 0}, {-5, 3, 0, 2}, {4, 10, 3, 9}};
    for (const Case& c : cases) {
        SetTextCursor(c.line, c.column);
        EXPECT_EQ(TextLine, c.expectedLine);
        EXPECT_EQ(TextColumn, c.expectedColumn);
    }
}

TEST(TextOutput, PrintingWithoutAWindowOpensOne)
{
    RunScript([] {
        PrintText("hallo", 1, 1, 1);
        Seen.values[0] = MainWindow.load() != nullptr;
        Seen.values[1] = TextColumn;
        Seen.values[2] = CellHasInk(BackingDC, 0, 0);
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 5);
    EXPECT_EQ(Seen.values[2].load(), 1);
}

TEST(TextOutput, AWindowTooNarrowForOneCellDoesNotLoopForEver)
{
    RunScript([] {
        SetWindowStyle(0x50);  // popup without frame: the client area is the window
        OpenMainWindow(0, 0, 4, 100);
        PrintText("abc", 1, 1, 1);
        Seen.values[0] = TextLine;
        Seen.values[1] = TextColumn;
    });
    EXPECT_EQ(Seen.values[0].load(), 0);
    EXPECT_EQ(Seen.values[1].load(), 3);
}

// What the screen shows, not what the window's device context holds.
bool ScreenCellHasInk(int32_t line, int32_t column)
{
    POINT origin = {column * CharWidth, line * LineHeight};
    ClientToScreen(MainWindow.load(), &origin);
    HDC screen = GetDC(nullptr);
    bool ink = false;
    for (int y = 0; y < LineHeight && !ink; ++y) {
        for (int x = 0; x < CharWidth && !ink; ++x)
            ink = GetPixel(screen, origin.x + x, origin.y + y) == 0;
    }
    ReleaseDC(nullptr, screen);
    return ink;
}

TEST(TextOutput, PrintedTextReachesTheScreenWhileTheScriptWaits)
{
    RunScript([] {
        OpenWindow();
        Sleep(200);  // the GUI thread has gone idle
        PrintText("MMMM", 1, 0, 0);
        bool shown = false;
        for (int i = 0; i < 100 && !shown; ++i) {
            Sleep(10);
            shown = ScreenCellHasInk(0, 1);
        }
        Seen.values[0] = shown;
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
}

}  // namespace

// Each output nudges the GUI thread with a null message, which nothing takes in fast mode.
TEST(TextOutput, FastModeQueuesNoMoreThanOneRepaintNudge)
{
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountNudges, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    RunScript([] {
        OpenWindow();
        NudgesTaken = 0;
        FastMode = 1;
        PostModeCode(ReqEnterFastMode);
        for (int i = 0; i < 500; ++i)
            PrintText("x", 1, 1, 1);
        FastMode = 0;
        PostModeCode(ReqLeaveFastMode);
        PostGuiRequest(ReqSleep, nullptr);  // served after every message queued before it
        Seen.values[0] = NudgesTaken.load();
    });
    UnhookWindowsHookEx(hook);
    EXPECT_GE(Seen.values[0].load(), 1);
    EXPECT_LE(Seen.values[0].load(), 2);
}
