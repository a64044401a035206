// Requests served by the GUI thread: menus, file dialogs, the template dialogs and the
// script's own windows, each answered from a helper thread as a user would.

#include "core/request_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "core/command_channel.h"
#include "core/request_records.h"
#include "core/runtime_state.h"
#include "core/startup.h"
#include "support/gui_driver.h"
#include "windows/controls.h"
#include "windows/event_variables.h"
#include "windows/file_dialogs.h"
#include "windows/main_window.h"
#include "windows/popup_menu.h"
#include "windows/template_dialogs.h"

namespace {

struct Observed {
    std::atomic<int> step{0};
    std::atomic<INT_PTR> values[8];
    std::string text;
    std::string text2;
};
Observed Seen;

// Called before a test starts its helper thread, which must not see the last test's steps.
void Reset()
{
    Seen.step = 0;
    for (auto& value : Seen.values)
        value = -1;
    Seen.text.clear();
    Seen.text2.clear();
}

int RunScript(ScriptBody script)
{
    return RunRuntime(GetModuleHandleA(nullptr), script);
}

std::string TextOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

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

class RequestServer : public testing::Test {
protected:
    void SetUp() override { Reset(); }
};

TEST_F(RequestServer, PopupMenuReportsTheChosenItemOrZeroAndIsDestroyed)
{
    std::thread user([] {
        WaitForStep(Seen.step, 1);
        PostMenuKey(VK_DOWN);
        PostMenuKey(VK_DOWN);
        PostMenuKey(VK_RETURN);
        WaitForStep(Seen.step, 2);
        PostMenuKey(VK_ESCAPE);
    });
    RunScript([] {
        OpenWindow();
        MenuTable[0] = TwoItemMenu();
        HMENU shown = MenuTable[0];
        Seen.step = 1;
        ShowPopupMenu(10, 10);
        Seen.values[0] = MenuCommand.load();
        Seen.values[1] = IsMenu(shown);
        MenuTable[0] = TwoItemMenu();
        MenuCommand = 1502;  // cleared by ShowPopupMenu
        Seen.step = 2;
        ShowPopupMenu(10, 10);
        Seen.values[2] = MenuCommand.load();
        Seen.step = 3;
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 222);
    EXPECT_EQ(Seen.values[1].load(), 0);
    EXPECT_EQ(Seen.values[2].load(), 0);
}

TEST_F(RequestServer, CancelledFileDialogsReturnAnEmptyPath)
{
    std::thread user([] {
        for (int i = 0; i < 2; ++i) {
            HWND dialog = WaitForDialog();
            if (!dialog)
                return;
            Press(dialog, IDCANCEL);
            while (IsWindow(dialog))
                Sleep(5);
        }
    });
    RunScript([] {
        OpenWindow();
        Seen.text = OpenFileDialog("Grafik suchen...", "Bitmaps|*.bmp|*.*").Text();
        Seen.text2 = SaveFileDialog("Speichern", "bild.bmp").Text();
        Seen.step = 1;
    });
    user.join();
    EXPECT_EQ(Seen.step.load(), 1);
    EXPECT_EQ(Seen.text, "");
    EXPECT_EQ(Seen.text2, "");
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

TEST_F(RequestServer, SaveDialogStartsInTheCurrentFolderAndAddsTheDefaultExtension)
{
    std::thread user([] {
        HWND dialog = WaitForDialog();
        if (!dialog)
            return;
        Seen.text2 = TextOf(dialog);
        SendMessageA(FileNameEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("glyphmill_probe"));
        Press(dialog, IDOK);
    });
    RunScript([] {
        OpenWindow();
        Seen.text = SaveFileDialog("Bild speichern", "vorlage.bmp").Text();
    });
    user.join();
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    EXPECT_EQ(Seen.text2, "Bild speichern");
    EXPECT_EQ(Seen.text, std::string(folder) + "\\glyphmill_probe.bmp");
}

TEST_F(RequestServer, InputDialogConfirmedAndCancelled)
{
    std::thread user([] {
        HWND dialog = WaitForDialog();
        Seen.text2 = TextOf(GetDlgItem(dialog, PromptTextId)) + "|" + TextOf(GetDlgItem(dialog, DialogEditId));
        SetDlgItemTextA(dialog, DialogEditId, "Antwort");
        Press(dialog, IDOK);
        while (IsWindow(dialog))
            Sleep(5);
        Press(WaitForDialog(), IDCANCEL);
    });
    RunScript([] {
        OpenWindow();
        InputDialogRequest request = {"Name?", "Eingabe", "Vorgabe"};
        PostGuiRequest(ReqInputDialog, &request);
        Seen.text = request.text.Text();
        Seen.values[0] = DialogResult.load();
        request.text = "noch einmal";
        PostGuiRequest(ReqInputDialog, &request);
        Seen.values[1] = request.text.Length();
        Seen.values[2] = DialogResult.load();
    });
    user.join();
    EXPECT_EQ(Seen.text2, "Name?|Vorgabe");
    EXPECT_EQ(Seen.text, "Antwort");
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 0);
    EXPECT_EQ(Seen.values[2].load(), 2);
}

TEST_F(RequestServer, ListBoxDialogShowsTheLineListAndReturnsTheChosenLine)
{
    std::thread user([] {
        HWND dialog = WaitForDialog();
        HWND list = GetDlgItem(dialog, DialogListId);
        Seen.values[0] = SendMessageA(list, LB_GETCOUNT, 0, 0);
        Seen.values[1] = SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0);
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        Press(dialog, IDOK);
        while (IsWindow(dialog))
            Sleep(5);
        Press(WaitForDialog(), IDCANCEL);
    });
    RunScript([] {
        OpenWindow();
        LineList = {"eins", "zwei", "drei"};
        ListBoxDialogRequest request = {"Auswahl", 3, ""};
        PostGuiRequest(ReqListBoxDialog, &request);
        Seen.text = request.chosen.Text();
        Seen.values[2] = DialogResult.load();
        request.lineCount = 9;
        PostGuiRequest(ReqListBoxDialog, &request);
        Seen.values[3] = request.chosen.Length();
        Seen.values[4] = DialogResult.load();
    });
    user.join();
    EXPECT_EQ(Seen.values[0].load(), 3);
    EXPECT_GT(Seen.values[1].load(), 0);
    EXPECT_EQ(Seen.text, "zwei");
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 0);
    EXPECT_EQ(Seen.values[4].load(), 2);
}

TEST_F(RequestServer, ListBoxTemplateFollowsTheLineCount)
{
    EXPECT_STREQ(ListBoxTemplate(1), "LISTBOX1");
    EXPECT_STREQ(ListBoxTemplate(8), "LISTBOX8");
    EXPECT_STREQ(ListBoxTemplate(9), "LISTBOX7");
    EXPECT_STREQ(ListBoxTemplate(0), "LISTBOX7");
    EXPECT_STREQ(ListBoxTemplate(-3), "LISTBOX7");
}

TEST_F(RequestServer, EditBoxDialogEditsTheLineList)
{
    std::thread user([] {
        HWND dialog = WaitForDialog();
        Seen.text2 = TextOf(GetDlgItem(dialog, DialogEditId));
        SetDlgItemTextA(dialog, DialogEditId, "x\r\ny\r\nz");
        Press(dialog, IDOK);
    });
    RunScript([] {
        OpenWindow();
        LineList = {"a", "b"};
        EditBoxDialogRequest request = {"Zeilen", 2, -1};
        PostGuiRequest(ReqEditBoxDialog, &request);
        Seen.values[0] = request.result;
        Seen.values[1] = static_cast<INT_PTR>(LineList.size());
        Seen.text = LineList.size() == 3 ? std::string(LineList[2].Text()) : "";
    });
    user.join();
    EXPECT_EQ(Seen.text2, "a\r\nb");
    EXPECT_EQ(Seen.values[0].load(), 1);
    EXPECT_EQ(Seen.values[1].load(), 3);
    EXPECT_EQ(Seen.text, "z");
}

TEST_F(RequestServer, ScriptDialogWindowsAndTheirRequests)
{
    std::thread user([] {
        ActUntilStepPasses(Seen.step, 1,
                           [] { PostMessageA(reinterpret_cast<HWND>(Seen.values[0].load()), WM_CLOSE, 0, 0); });
    });
    RunScript([] {
        OpenWindow();
        DialogWindowRequest window = {"Fenster", MainWindow.load(), 30, 30, 200, 150, nullptr};
        PostGuiRequest(ReqCreateDialogWindow, &window);
        Seen.values[0] = reinterpret_cast<INT_PTR>(window.window);
        Seen.step = 1;
        WaitForInput();  // closing is reported, the window stays
        Seen.values[1] = EventKind.load();
        Seen.values[2] = IsWindow(window.window);
        Seen.step = 2;

        LayoutDialogRequest layout = {"Layout", MainWindow.load(), 40, 50, 220, 160, nullptr};
        PostGuiRequest(ReqLayoutDialog, &layout);
        RECT rect = {};
        GetWindowRect(layout.dialog, &rect);
        Seen.values[3] = rect.left == 40 && rect.top == 50 && rect.right - rect.left == 220;
        Seen.text = TextOf(layout.dialog);

        ResourceDialogRequest missing = {"KEINE", MainWindow.load(), InstanceHandle, nullptr};
        PostGuiRequest(ReqResourceDialog, &missing);
        Seen.values[4] = reinterpret_cast<INT_PTR>(missing.dialog);

        // Made by the GUI thread, which must answer the messages sent to it.
        HWND list = CreateControl("LISTBOX", "", WS_CHILD, 0, 0, 100, 100, MainWindow.load(), 7, InstanceHandle, 0);
        std::vector<ScriptString> lines = {"a", "b", "c"};
        SendToAllRequest send = {list, LB_ADDSTRING, &lines};
        PostGuiRequest(ReqSendToAll, &send);
        Seen.values[5] = SendMessageA(list, LB_GETCOUNT, 0, 0);

        DestroyWindowRequest destroy = {layout.dialog, -1};
        PostGuiRequest(ReqDestroyWindow, &destroy);
        Seen.values[6] = destroy.result;
        Seen.values[7] = IsWindow(layout.dialog);
    });
    user.join();
    EXPECT_NE(Seen.values[0].load(), 0);
    EXPECT_EQ(Seen.values[1].load(), 2);
    EXPECT_EQ(Seen.values[2].load(), 1);
    EXPECT_EQ(Seen.values[3].load(), 1);
    EXPECT_EQ(Seen.text, "Layout");
    EXPECT_EQ(Seen.values[4].load(), 0);
    EXPECT_EQ(Seen.values[5].load(), 3);
    EXPECT_EQ(Seen.values[6].load(), 1);
    EXPECT_EQ(Seen.values[7].load(), 0);
}

}  // namespace
