// Child controls made through the request server, their ids, styles and fonts.

#include "windows/controls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>

#include "core/runtime_state.h"
#include "core/startup.h"
#include "services/text_fonts.h"
#include "windows/event_variables.h"
#include "windows/main_window.h"
#include "windows/text_font_state.h"
#include "windows/window_settings.h"

namespace {

struct Observed {
    std::atomic<INT_PTR> values[8];
};
Observed Seen;

int RunScript(ScriptBody script)
{
    for (auto& value : Seen.values)
        value = -1;
    return RunRuntime(GetModuleHandleA(nullptr), script);
}

TEST(Controls, FirstTwoNumberedControlsGetIds1000And1001)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HWND main = MainWindow.load();
        Seen.values[0] = GetDlgCtrlID(CreateText(main, "eins", 5, 5, 60, 20));
        Seen.values[1] = GetDlgCtrlID(CreateText(main, "zwei", 5, 30, 60, 20));
    });
    EXPECT_EQ(Seen.values[0].load(), 1000);
    EXPECT_EQ(Seen.values[1].load(), 1001);
}

TEST(Controls, EachKindGetsItsClassAndStyle)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HWND main = MainWindow.load();
        HWND radio = CreateRadioButton(main, "Exakt", 5, 5, 80, 20);
        HWND group = CreateGroupBox(main, "Helligkeit:", 100, 5, 120, 60);
        HWND text = CreateText(main, "Auflösung:", 5, 30, 80, 20);
        HWND edit = CreateMultiLineEdit(main, "", 5, 60, 200, 100);
        Seen.values[0] = GetWindowLongA(radio, GWL_STYLE) & 0xFFFF000F;
        Seen.values[1] = GetWindowLongA(group, GWL_STYLE) & 0xFFFF000F;
        Seen.values[2] = (GetWindowLongA(edit, GWL_STYLE) & WS_HSCROLL) != 0;
        Seen.values[3] = (GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
        char label[32] = {};
        GetWindowTextA(text, label, sizeof label);
        Seen.values[4] = lstrcmpA(label, "Auflösung:") == 0;
        Seen.values[5] = GetParent(radio) == main;
    });
    EXPECT_EQ(Seen.values[0].load(), 0x50010009);
    EXPECT_EQ(Seen.values[1].load(), 0x50020007);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 1);
    EXPECT_EQ(Seen.values[4].load(), 1);
    EXPECT_EQ(Seen.values[5].load(), 1);
}

TEST(Controls, NegativeEditHeightWrapsLinesWithoutAHorizontalScrollBar)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HWND edit = CreateMultiLineEdit(MainWindow.load(), "", 5, 5, 200, -100);
        RECT rect;
        GetWindowRect(edit, &rect);
        Seen.values[0] = rect.bottom - rect.top;
        Seen.values[1] = (GetWindowLongA(edit, GWL_STYLE) & WS_HSCROLL) != 0;
    });
    EXPECT_EQ(Seen.values[0].load(), 100);
    EXPECT_EQ(Seen.values[1].load(), 0);
}

TEST(Controls, FailedCreationYieldsZeroAndStillUsesUpTheId)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        Seen.values[0] = reinterpret_cast<INT_PTR>(
            CreateControl("KeineSolcheKlasse", "", WS_CHILD, 0, 0, 10, 10, MainWindow.load(), 5, nullptr, 0));
        Seen.values[1] = reinterpret_cast<INT_PTR>(CreateText(nullptr, "ohne Eltern", 0, 0, 10, 10));
        Seen.values[2] = GetDlgCtrlID(CreateText(MainWindow.load(), "danach", 0, 0, 10, 10));
    });
    EXPECT_EQ(Seen.values[0].load(), 0);
    EXPECT_EQ(Seen.values[1].load(), 0);
    EXPECT_EQ(Seen.values[2].load(), 1001);
}

TEST(Controls, ControlFontModeGivesNewControlsTheCurrentFont)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HFONT font = CreateFontHandle("MS Sans Serif", 13, 0, 0, 0, 0);
        CurrentFont = font;
        HWND before = CreateText(MainWindow.load(), "ohne", 0, 0, 50, 20);
        SetControlFontMode(1);
        HWND after = CreateText(MainWindow.load(), "mit", 0, 30, 50, 20);
        Seen.values[0] = SendMessageA(before, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(font);
        Seen.values[1] = SendMessageA(after, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(font);
    });
    EXPECT_EQ(Seen.values[0].load(), 0);
    EXPECT_EQ(Seen.values[1].load(), 1);
}

TEST(Controls, AFontGivenToControlsIsKeptUntilTheRuntimeEnds)
{
    static HFONT given = nullptr;
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        SelectTextFont("Arial", 13, 0, 0, 0, 0);
        given = CurrentFont;
        SetControlFontMode(1);
        HWND text = CreateText(MainWindow.load(), "mit", 0, 30, 50, 20);
        SelectTextFont("Arial", 20, 0, 0, 0, 0);
        Seen.values[0] = SendMessageA(text, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(given);
        Seen.values[1] = GetObjectType(given);
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), OBJ_FONT) << "the control's font still exists";
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
        Seen.values[0] = logFont.lfWeight;
        Seen.values[1] = logFont.lfItalic;
        Seen.values[2] = logFont.lfEscapement;
        Seen.values[3] = logFont.lfCharSet;
        Seen.values[4] = lstrcmpA(logFont.lfFaceName, "Arial") == 0;
        DeleteObject(font);
        // a face longer than the field is cut, not written past it
        HFONT longFace = CreateFontHandle("Ein sehr langer Schriftname, länger als zulässig", 10, 0, 0, 0, 0);
        GetObjectA(longFace, sizeof logFont, &logFont);
        Seen.values[5] = lstrlenA(logFont.lfFaceName);
        DeleteObject(longFace);
    });
    EXPECT_EQ(Seen.values[0].load(), 700);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 900);
    EXPECT_EQ(Seen.values[3].load(), ANSI_CHARSET);
    EXPECT_EQ(Seen.values[4].load(), 1);
    EXPECT_EQ(Seen.values[5].load(), 31);
}

TEST(Controls, DisablingTheFocusedControlForgetsIt)
{
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HWND main = MainWindow.load();
        HWND first = CreateRadioButton(main, "a", 5, 5, 60, 20);
        HWND second = CreateRadioButton(main, "b", 5, 30, 60, 20);
        FocusControl(first);
        Seen.values[0] = GetFocus() == first;
        EnableControl(second, 0);
        Seen.values[1] = FocusWindow.load() == reinterpret_cast<INT_PTR>(first);
        EnableControl(first, 0);
        Seen.values[2] = FocusWindow.load();
        Seen.values[3] = IsWindowEnabled(first);
        EnableControl(first, 1);
        Seen.values[4] = IsWindowEnabled(first);
    });
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 1);
    EXPECT_EQ(Seen.values[2].load(), 0);
    EXPECT_EQ(Seen.values[3].load(), 0);
    EXPECT_EQ(Seen.values[4].load(), 1);
}

}  // namespace
