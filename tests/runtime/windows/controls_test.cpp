// Child controls made through the request server, their ids, styles and fonts.

#include "windows/controls.h"

#include <gtest/gtest.h>

#include "core/runtime_state.h"
#include "services/text_fonts.h"
#include "support/gui_driver.h"
#include "support/script_runner.h"
#include "windows/event_variables.h"
#include "windows/main_window.h"
#include "windows/text_font_state.h"
#include "windows/window_settings.h"

namespace {

HWND OpenWindow()
{
    OpenMainWindow(10, 10, 300, 200);
    return MainWindow.load();
}

TEST(Controls, FirstTwoNumberedControlsGetIds1000And1001)
{
    RunScript([] {
        HWND main = OpenWindow();
        EXPECT_EQ(GetDlgCtrlID(CreateText(main, "eins", 5, 5, 60, 20)), 1000);
        EXPECT_EQ(GetDlgCtrlID(CreateText(main, "zwei", 5, 30, 60, 20)), 1001);
    });
}

TEST(Controls, EachKindGetsItsClassAndStyle)
{
    RunScript([] {
        HWND main = OpenWindow();
        HWND radio = CreateRadioButton(main, "Exakt", 5, 5, 80, 20);
        HWND group = CreateGroupBox(main, "Helligkeit:", 100, 5, 120, 60);
        HWND text = CreateText(main, "Auflösung:", 5, 30, 80, 20);
        HWND edit = CreateMultiLineEdit(main, "", 5, 60, 200, 100);
        EXPECT_EQ(GetWindowLongA(radio, GWL_STYLE) & 0xFFFF000F, 0x50010009u);
        EXPECT_EQ(GetWindowLongA(group, GWL_STYLE) & 0xFFFF000F, 0x50020007u);
        EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & WS_HSCROLL, WS_HSCROLL);
        EXPECT_EQ(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
        EXPECT_EQ(WindowText(text), "Auflösung:");
        EXPECT_EQ(GetParent(radio), main);
    });
}

TEST(Controls, NegativeEditHeightWrapsLinesWithoutAHorizontalScrollBar)
{
    RunScript([] {
        HWND edit = CreateMultiLineEdit(OpenWindow(), "", 5, 5, 200, -100);
        RECT rect;
        GetWindowRect(edit, &rect);
        EXPECT_EQ(rect.bottom - rect.top, 100);
        EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & WS_HSCROLL, 0);
    });
}

TEST(Controls, FailedCreationYieldsZeroAndStillUsesUpTheId)
{
    RunScript([] {
        HWND main = OpenWindow();
        EXPECT_EQ(CreateControl("KeineSolcheKlasse", "", WS_CHILD, 0, 0, 10, 10, main, 5, nullptr, 0), nullptr);
        EXPECT_EQ(CreateText(nullptr, "ohne Eltern", 0, 0, 10, 10), nullptr);
        EXPECT_EQ(GetDlgCtrlID(CreateText(main, "danach", 0, 0, 10, 10)), 1001);
    });
}

TEST(Controls, ControlFontModeGivesNewControlsTheCurrentFont)
{
    RunScript([] {
        HWND main = OpenWindow();
        HFONT font = CreateFontHandle("MS Sans Serif", 13, 0, 0, 0, 0);
        CurrentFont = font;
        HWND before = CreateText(main, "ohne", 0, 0, 50, 20);
        SetControlFontMode(1);
        HWND after = CreateText(main, "mit", 0, 30, 50, 20);
        EXPECT_NE(SendMessageA(before, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
        EXPECT_EQ(SendMessageA(after, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    });
}

TEST(Controls, AFontGivenToControlsIsKeptUntilTheRuntimeEnds)
{
    HFONT given = nullptr;
    RunScript([&given] {
        HWND main = OpenWindow();
        SelectTextFont("Arial", 13, 0, 0, 0, 0);
        given = CurrentFont;
        SetControlFontMode(1);
        HWND text = CreateText(main, "mit", 0, 30, 50, 20);
        SelectTextFont("Arial", 20, 0, 0, 0, 0);
        EXPECT_EQ(SendMessageA(text, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(given));
        EXPECT_EQ(GetObjectType(given), static_cast<DWORD>(OBJ_FONT)) << "the control's font still exists";
    });
    EXPECT_EQ(GetObjectType(given), 0u) << "deleted when the runtime ends";
}

TEST(Controls, FontHandleTakesStyleAngleAndCharacterSet)
{
    RunScript([] {
        TextAngle = 900;
        HFONT font = CreateFontHandle("Arial", -20, 0, 1, 1, 0);
        TextAngle = 0;
        LOGFONTA logFont = {};
        GetObjectA(font, sizeof logFont, &logFont);
        EXPECT_EQ(logFont.lfWeight, 700);
        EXPECT_EQ(logFont.lfItalic, 1);
        EXPECT_EQ(logFont.lfEscapement, 900);
        EXPECT_EQ(logFont.lfCharSet, ANSI_CHARSET);
        EXPECT_STREQ(logFont.lfFaceName, "Arial");
        DeleteObject(font);
        // a face longer than the field is cut, not written past it
        HFONT longFace = CreateFontHandle("Ein sehr langer Schriftname, länger als zulässig", 10, 0, 0, 0, 0);
        GetObjectA(longFace, sizeof logFont, &logFont);
        EXPECT_EQ(lstrlenA(logFont.lfFaceName), 31);
        DeleteObject(longFace);
    });
}

TEST(Controls, DisablingTheFocusedControlForgetsIt)
{
    RunScript([] {
        HWND main = OpenWindow();
        HWND first = CreateRadioButton(main, "a", 5, 5, 60, 20);
        HWND second = CreateRadioButton(main, "b", 5, 30, 60, 20);
        FocusControl(first);
        EXPECT_EQ(GetFocus(), first);
        EnableControl(second, 0);
        EXPECT_EQ(FocusWindow.load(), reinterpret_cast<INT_PTR>(first));
        EnableControl(first, 0);
        EXPECT_EQ(FocusWindow.load(), 0);
        EXPECT_FALSE(IsWindowEnabled(first));
        EnableControl(first, 1);
        EXPECT_TRUE(IsWindowEnabled(first));
    });
}

}  // namespace
