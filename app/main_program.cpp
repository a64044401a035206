#include "main_program.h"

#include <windows.h>

#include "core/command_channel.h"
#include "core/runtime_settings.h"
#include "core/runtime_state.h"
#include "windows/controls.h"
#include "windows/event_variables.h"
#include "windows/main_window.h"
#include "windows/text_font_state.h"
#include "windows/text_output.h"
#include "windows/window_settings.h"

namespace {

constexpr int32_t CmdStart = 1502;
constexpr int32_t CmdExit = 1505;

void UseFont(HWND control, HFONT font)
{
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace

// A small tour of the window runtime until the application proper takes its place: a
// main window with a few controls and some printed text, answering "Start" and "Beenden".
void MainScript()
{
    SetColorMode(1);
    SetErrorLevel(1);
    SetWindowStyle(0x92);
    SetWindowTitle("Glyphmill 1.2 – Vorführung");
    OpenMainWindow(40, 40, 640, 440);
    ClearWindow(static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));

    // The printed lines take the upper part of the window; the controls sit below them.
    HWND main = MainWindow.load();
    // Controls get their font as they are made: a font set afterwards leaves the wider
    // system-font caption of a group box behind, since nothing paints under it.
    CurrentFont = CreateFontHandle("MS Sans Serif", 13, 0, 0, 0, 0);
    SetControlFontMode(1);
    HFONT fixed = CreateFontHandle("Courier New", 14, 0, 0, 0, 0);
    CreateGroupBox(main, "Verfahren:", 10, 150, 200, 100);
    HWND fourPixel = CreateRadioButton(main, "4-Pixel (empfohlen)", 22, 172, 180, 20);
    CreateRadioButton(main, "Exakt", 22, 196, 180, 20);
    CreateRadioButton(main, "Graustufen", 22, 220, 180, 20);
    SendMessageA(fourPixel, BM_SETCHECK, BST_CHECKED, 0);
    CreateText(main, "Auflösung: 320 × 200", 230, 160, 200, 20);
    CreateControl("BUTTON", "Start", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 230, 190, 96, 26, main,
                  -CmdStart, InstanceHandle, 0);
    CreateControl("BUTTON", "Beenden", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 334, 190, 96, 26, main,
                  -CmdExit, InstanceHandle, 0);
    HWND output = CreateMultiLineEdit(main, "", 10, 262, 612, -144);
    UseFont(output, fixed);
    SetWindowTextA(output, "  .:-=+*#%@  Glyphmill  @%#*+=-:.  \r\n"
                           " Zeichen statt Pixel: Text, HTML oder Bitmap.");

    PrintLines("Glyphmill 1.2\r\n=============\r\n", 2);
    PrintText("Lädt BMP, DIB, GIF, JPEG, PCX und TGA und macht daraus Zeichen.", 2, 1, 1);
    PrintText("Lange Zeilen werden am rechten Rand des Textbereichs umgebrochen, so wie hier zu sehen ist.", 2, 1,
              1);
    PrintText("Verfahren:", 0, 1, 1);
    PrintText("4-Pixel, Exakt, Graustufen.", 2, 1, 1);

    for (;;) {
        WaitForInput();
        if (MenuItemChosen(CmdStart))
            PrintText("Start gedrückt.", 2, 1, 1);
        if (MenuItemChosen(CmdExit)) {
            DeleteObject(fixed);
            EndProgram();
        }
    }
}
