// Requests served by the GUI thread: menus, file dialogs, the template dialogs and the
// script's own windows, each answered from a helper thread as a user would.

#include "core/request_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_channel.h"
#include "core/request_records.h"
#include "core/runtime_state.h"
#include "support/gui_driver.h"
#include "support/script_runner.h"
#include "windows/controls.h"
#include "windows/event_variables.h"
#include "windows/file_dialogs.h"
#include "windows/main_window.h"
#include "windows/popup_menu.h"
#include "windows/template_dialogs.h"

namespace {

// The dialog the GUI thread shows for the main window, once it is there.
HWND WaitForDialog()
{
    return WaitForWindowOfClass("#32770", MainWindow.load());
}

void Press(HWND dialog, int button)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

void OpenWindow()
{
    OpenMainWindow(20, 20, 320, 240);
}

HMENU TwoItemMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 111, "Text");
    AppendMenuA(menu, MF_STRING, 222, "HTML");
    return menu;
}

void PostMenuKey(WPARAM key)
{
    HWND menu = WaitForWindowOfClass("#32768");
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    PostMessageA(menu, WM_KEYUP, key, 0);
}

TEST(RequestServer, PopupMenuReportsTheChosenItemOrZeroAndIsDestroyed)
{
    std::atomic<int> step{0};
    RunScript(
        [&] {
            OpenWindow();
            MenuTable[0] = TwoItemMenu();
            HMENU shown = MenuTable[0];
            step = 1;
            ShowPopupMenu(10, 10);
            EXPECT_EQ(MenuCommand.load(), 222);
            EXPECT_FALSE(IsMenu(shown));
            MenuTable[0] = TwoItemMenu();
            MenuCommand = 1502;  // cleared by ShowPopupMenu
            step = 2;
            ShowPopupMenu(10, 10);
            EXPECT_EQ(MenuCommand.load(), 0);
            step = 3;
        },
        [&] {
            WaitForStep(step, 1);
            PostMenuKey(VK_DOWN);
            PostMenuKey(VK_DOWN);
            PostMenuKey(VK_RETURN);
            WaitForStep(step, 2);
            PostMenuKey(VK_ESCAPE);
        });
}

// Presses `button` in the next dialog of the main window and waits until it has gone.
void Answer(int button)
{
    HWND dialog = WaitForDialog();
    Press(dialog, button);
    while (IsWindow(dialog))
        Sleep(5);
}

TEST(RequestServer, CancelledFileDialogsReturnAnEmptyPath)
{
    bool ended = false;
    RunScript(
        [&ended] {
            OpenWindow();
            EXPECT_STREQ(OpenFileDialog("Grafik suchen...", "Bitmaps|*.bmp|*.*").Text(), "");
            EXPECT_STREQ(SaveFileDialog("Speichern", "bild.bmp").Text(), "");
            ended = true;
        },
        [] {
            Answer(IDCANCEL);
            Answer(IDCANCEL);
        });
    EXPECT_TRUE(ended);
}

// The file-name box of the explorer-style dialog, or of the old one.
HWND FileNameEdit(HWND dialog)
{
    HWND box = GetDlgItem(dialog, 1148);
    if (box) {
        HWND combo = FindWindowExA(box, nullptr, "ComboBox", nullptr);
        HWND edit = FindWindowExA(combo ? combo : box, nullptr, "Edit", nullptr);
        if (edit)
            return edit;
    }
    return GetDlgItem(dialog, 1152);
}

TEST(RequestServer, SaveDialogStartsInTheCurrentFolderAndAddsTheDefaultExtension)
{
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    RunScript(
        [&folder] {
            OpenWindow();
            EXPECT_EQ(std::string(SaveFileDialog("Bild speichern", "vorlage.bmp").Text()),
                      std::string(folder) + "\\glyphmill_probe.bmp");
        },
        [] {
            HWND dialog = WaitForDialog();
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(WindowText(dialog), "Bild speichern");
            SendMessageA(FileNameEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("glyphmill_probe"));
            Press(dialog, IDOK);
        });
}

TEST(RequestServer, InputDialogConfirmedAndCancelled)
{
    RunScript(
        [] {
            OpenWindow();
            InputDialogRequest request = {"Name?", "Eingabe", "Vorgabe"};
            PostGuiRequest(ReqInputDialog, &request);
            EXPECT_STREQ(request.text.Text(), "Antwort");
            EXPECT_EQ(DialogResult.load(), 1);
            request.text = "noch einmal";
            PostGuiRequest(ReqInputDialog, &request);
            EXPECT_EQ(request.text.Length(), 0u);
            EXPECT_EQ(DialogResult.load(), 2);
        },
        [] {
            HWND dialog = WaitForDialog();
            EXPECT_EQ(WindowText(GetDlgItem(dialog, PromptTextId)), "Name?");
            EXPECT_EQ(WindowText(GetDlgItem(dialog, DialogEditId)), "Vorgabe");
            SetDlgItemTextA(dialog, DialogEditId, "Antwort");
            Answer(IDOK);
            Answer(IDCANCEL);
        });
}

TEST(RequestServer, ListBoxDialogShowsTheLineListAndReturnsTheChosenLine)
{
    RunScript(
        [] {
            OpenWindow();
            LineList = {"eins", "zwei", "drei"};
            ListBoxDialogRequest request = {"Auswahl", 3, ""};
            PostGuiRequest(ReqListBoxDialog, &request);
            EXPECT_STREQ(request.chosen.Text(), "zwei");
            EXPECT_EQ(DialogResult.load(), 1);
            request.lineCount = 9;
            PostGuiRequest(ReqListBoxDialog, &request);
            EXPECT_EQ(request.chosen.Length(), 0u);
            EXPECT_EQ(DialogResult.load(), 2);
        },
        [] {
            HWND dialog = WaitForDialog();
            HWND list = GetDlgItem(dialog, DialogListId);
            EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
            EXPECT_GT(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
            SendMessageA(list, LB_SETCURSEL, 1, 0);
            Answer(IDOK);
            Answer(IDCANCEL);
        });
}

TEST(RequestServer, ListBoxTemplateFollowsTheLineCount)
{
    EXPECT_STREQ(ListBoxTemplate(1), "LISTBOX1");
    EXPECT_STREQ(ListBoxTemplate(8), "LISTBOX8");
    EXPECT_STREQ(ListBoxTemplate(9), "LISTBOX7");
    EXPECT_STREQ(ListBoxTemplate(0), "LISTBOX7");
    EXPECT_STREQ(ListBoxTemplate(-3), "LISTBOX7");
}

TEST(RequestServer, EditBoxDialogEditsTheLineList)
{
    RunScript(
        [] {
            OpenWindow();
            LineList = {"a", "b"};
            EditBoxDialogRequest request = {"Zeilen", 2, -1};
            PostGuiRequest(ReqEditBoxDialog, &request);
            EXPECT_EQ(request.result, 1);
            ASSERT_EQ(LineList.size(), 3u);
            EXPECT_STREQ(LineList[2].Text(), "z");
        },
        [] {
            HWND dialog = WaitForDialog();
            EXPECT_EQ(WindowText(GetDlgItem(dialog, DialogEditId)), "a\r\nb");
            SetDlgItemTextA(dialog, DialogEditId, "x\r\ny\r\nz");
            Press(dialog, IDOK);
        });
}

TEST(RequestServer, ScriptDialogWindowsAndTheirRequests)
{
    std::atomic<int> step{0};
    std::atomic<HWND> shown{nullptr};
    RunScript(
        [&] {
            OpenWindow();
            DialogWindowRequest window = {"Fenster", MainWindow.load(), 30, 30, 200, 150, nullptr};
            PostGuiRequest(ReqCreateDialogWindow, &window);
            ASSERT_NE(window.window, nullptr);
            shown = window.window;
            step = 1;
            WaitForInput();  // closing is reported, the window stays
            EXPECT_EQ(EventKind.load(), 2);
            EXPECT_TRUE(IsWindow(window.window));
            step = 2;

            LayoutDialogRequest layout = {"Layout", MainWindow.load(), 40, 50, 220, 160, nullptr};
            PostGuiRequest(ReqLayoutDialog, &layout);
            RECT rect = {};
            GetWindowRect(layout.dialog, &rect);
            EXPECT_EQ(rect.left, 40);
            EXPECT_EQ(rect.top, 50);
            EXPECT_EQ(rect.right - rect.left, 220);
            EXPECT_EQ(WindowText(layout.dialog), "Layout");

            ResourceDialogRequest missing = {"KEINE", MainWindow.load(), InstanceHandle, nullptr};
            PostGuiRequest(ReqResourceDialog, &missing);
            EXPECT_EQ(missing.dialog, nullptr);

            // Made by the GUI thread, which must answer the messages sent to it.
            HWND list = CreateControl("LISTBOX", "", WS_CHILD, 0, 0, 100, 100, MainWindow.load(), 7, InstanceHandle, 0);
            std::vector<ScriptString> lines = {"a", "b", "c"};
            SendToAllRequest send = {list, LB_ADDSTRING, &lines};
            PostGuiRequest(ReqSendToAll, &send);
            EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);

            DestroyWindowRequest destroy = {layout.dialog, -1};
            PostGuiRequest(ReqDestroyWindow, &destroy);
            EXPECT_EQ(destroy.result, 1);
            EXPECT_FALSE(IsWindow(layout.dialog));
        },
        [&] { ActUntilStepPasses(step, 1, [&] { PostMessageA(shown.load(), WM_CLOSE, 0, 0); }); });
}

}  // namespace
