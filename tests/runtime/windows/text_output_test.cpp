// Terminal-like text output: wrapping, the cursor after each mode, scrolling, line breaks.

#include "windows/text_output.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

#include "core/command_channel.h"
#include "core/runtime_state.h"
#include "support/script_runner.h"
#include "support/window_pixels.h"
#include "windows/controls.h"
#include "windows/drawing_state.h"
#include "windows/event_variables.h"
#include "windows/main_window.h"
#include "windows/window_settings.h"

namespace {

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

// A line and a column, 0-based.
using Place = std::pair<int32_t, int32_t>;

Place Cursor()
{
    return {TextLine, TextColumn};
}

TEST(TextOutput, LongTextWrapsAtTheRightEdgeAndEndsTheLineItSplitOn)
{
    RunScript([] {
        OpenWindow();
        int32_t columns = Columns();
        PrintText(std::string(static_cast<size_t>(columns) + 20, 'x').c_str(), 1, 1, 1);
        EXPECT_EQ(Cursor(), Place(1, 20));
        EXPECT_TRUE(CellHasInk(BackingDC, 0, columns - 1));
        EXPECT_TRUE(CellHasInk(BackingDC, 1, 19));
        EXPECT_FALSE(CellHasInk(BackingDC, 1, 20));
        EXPECT_TRUE(CellHasInk(WindowDC, 1, 19));
    });
}

TEST(TextOutput, CursorAfterEachMode)
{
    RunScript([] {
        OpenWindow();
        struct Case {
            int32_t mode;
            Place cursor;
        };
        const Case cases[] = {
            {0, {0, 4}},  // a blank follows
            {1, {0, 3}},
            {2, {1, 0}},  // start of the next line
            {7, {0, 3}},  // any other mode acts like 1
        };
        for (const Case& c : cases) {
            SetTextCursor(1, 1);
            PrintText("abc", c.mode, 1, 1);
            EXPECT_EQ(Cursor(), c.cursor) << "mode " << c.mode;
        }
    });
}

TEST(TextOutput, LineBreaksAreDroppedAndACursorBeyondTheEdgeNeverWraps)
{
    RunScript([] {
        OpenWindow();
        PrintText("a\r\nb\n", 1, 1, 1);
        EXPECT_EQ(Cursor(), Place(0, 2));
        SetTextCursor(1, Columns() + 5);
        PrintText("abc", 1, 1, 1);
        EXPECT_EQ(Cursor(), Place(0, Columns() + 7));
    });
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
        EXPECT_EQ(TextLine, lines);
        EXPECT_EQ(before.top - after.top, LineHeight);
        EXPECT_TRUE(CellHasInk(BackingDC, 1, 0));  // "mark" moved from line 2 to line 1
        EXPECT_FALSE(CellHasInk(BackingDC, 2, 0));
        EXPECT_TRUE(CellHasInk(BackingDC, lines - 1, 0));  // "z" on the last line
        EXPECT_TRUE(CellHasInk(WindowDC, 1, 0));
    });
}

TEST(TextOutput, PrintLinesPutsEachPieceOnItsOwnLine)
{
    RunScript([] {
        OpenWindow();
        PrintLines("a\r\nb", 1);
        EXPECT_EQ(Cursor(), Place(1, 1));
        EXPECT_TRUE(CellHasInk(BackingDC, 0, 0));
        EXPECT_TRUE(CellHasInk(BackingDC, 1, 0));
        struct Case {
            const char* text;
            int32_t mode;
            Place cursor;
        };
        const Case cases[] = {
            {"ab\r\ncd", 0, {1, 3}},  // after "cd" and the blank
            {"ab\r\ncd", 2, {2, 0}},
            {"\r\n\r\n", 1, {1, 0}},  // no pieces: one new line
            {"ohne Umbruch", 0, {0, 13}},
        };
        for (const Case& c : cases) {
            SetTextCursor(1, 1);
            PrintLines(c.text, c.mode);
            EXPECT_EQ(Cursor(), c.cursor) << "mode " << c.mode << " after " << c.text;
        }
    });
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
        EXPECT_NE(MainWindow.load(), nullptr);
        EXPECT_EQ(TextColumn, 5);
        EXPECT_TRUE(CellHasInk(BackingDC, 0, 0));
    });
}

TEST(TextOutput, AWindowTooNarrowForOneCellDoesNotLoopForEver)
{
    RunScript([] {
        SetWindowStyle(0x50);  // popup without frame: the client area is the window
        OpenMainWindow(0, 0, 4, 100);
        PrintText("abc", 1, 1, 1);
        EXPECT_EQ(Cursor(), Place(0, 3));
    });
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
        EXPECT_TRUE(shown);
    });
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
        EXPECT_GE(NudgesTaken.load(), 1);
        EXPECT_LE(NudgesTaken.load(), 2);
    });
    UnhookWindowsHookEx(hook);
}
