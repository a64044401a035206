// The two threads and the channel between them, in a running runtime.

#include "core/command_channel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "core/request_codes.h"
#include "core/runtime_state.h"
#include "core/startup.h"
#include "support/gui_driver.h"
#include "windows/controls.h"
#include "windows/event_variables.h"
#include "windows/input_reports.h"
#include "windows/main_window.h"
#include "windows/text_output.h"

namespace {

// What a script saw, checked by the test after the runtime has ended.
struct Observed {
    std::atomic<DWORD> scriptThread{0};
    std::atomic<int32_t> value1{-1};
    std::atomic<int32_t> value2{-1};
    std::atomic<UINT> message{0};
    std::atomic<int> steps{0};
};
Observed Seen;

// Also called before a test starts a helper thread, which must not see the last test's steps.
void Reset()
{
    Seen.scriptThread = 0;
    Seen.value1 = -1;
    Seen.value2 = -1;
    Seen.message = 0;
    Seen.steps = 0;
}

int RunScript(ScriptBody script)
{
    Reset();
    return RunRuntime(GetModuleHandleA(nullptr), script);
}

// Pulses InputArrived every few milliseconds until the script has passed its wait.
void PulseUntil(int step)
{
    while (Seen.steps.load() < step) {
        Sleep(5);
        PulseInput();
    }
}

}  // namespace

TEST(CommandChannel, ScriptRunsOnItsOwnThreadAndEndsWithExitCodeZero)
{
    EXPECT_EQ(RunScript([] { Seen.scriptThread = GetCurrentThreadId(); }), 0);
    EXPECT_NE(Seen.scriptThread.load(), 0u);
    EXPECT_NE(Seen.scriptThread.load(), GetCurrentThreadId());
    EXPECT_EQ(GuiThreadId, GetCurrentThreadId());
}

TEST(CommandChannel, ArgumentListStartsWithTheProgramPath)
{
    RunScript([] {
        Seen.value1 = ArgumentCount;
        Seen.value2 = static_cast<int32_t>(ArgumentList.size());
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        Seen.steps = ArgumentList.empty() ? 0 : lstrcmpiA(ArgumentList[0].Text(), path) == 0 ? 1 : 2;
    });
    EXPECT_EQ(Seen.value2.load(), Seen.value1.load() + 1);
    EXPECT_EQ(Seen.steps.load(), 1);
    EXPECT_TRUE(ArgumentList.empty());  // emptied at shutdown
}

TEST(CommandChannel, RequestIsServedOnTheGuiThreadAndItsResultReadAfterRequestDone)
{
    RunScript([] {
        // A message queued behind the request is what the GUI thread's peek finds. The GUI
        // thread first sleeps on a request of its own, so that both are queued before it
        // serves the peek.
        struct {
            int32_t messageWaiting = -1;
        } record;
        PostThreadMessageA(GuiThreadId, GuiRequest, ReqSleep, 100);
        PostThreadMessageA(GuiThreadId, GuiRequest, ReqPeekMessage, reinterpret_cast<LPARAM>(&record));
        PostMessageA(CommandWindow, WM_APP + 7, 1, 2);
        WaitForSingleObject(RequestDone, INFINITE);  // the sleep
        WaitForSingleObject(RequestDone, INFINITE);  // the peek
        Seen.value1 = record.messageWaiting;
        Seen.message = LastMessage;
        Seen.value2 = CurrentMessage.hwnd.load() == CommandWindow ? 1 : 0;
    });
    EXPECT_EQ(Seen.value1.load(), 1);
    EXPECT_EQ(Seen.message.load(), static_cast<UINT>(WM_APP + 7));
    EXPECT_EQ(Seen.value2.load(), 1);
}

TEST(CommandChannel, SynchronousRequestsToTheCommandWindow)
{
    RunScript([] {
        struct {
            int32_t pending = -1;
        } record;
        SendMessageA(CommandWindow, GuiRequest, ReqInputPending, reinterpret_cast<LPARAM>(&record));
        Seen.value1 = record.pending;
        DWORD start = GetTickCount();
        SendMessageA(CommandWindow, GuiRequest, ReqSleep, 50);
        Seen.value2 = static_cast<int32_t>(GetTickCount() - start);
    });
    EXPECT_EQ(Seen.value1.load(), 0);
    EXPECT_GE(Seen.value2.load(), 40);
}

TEST(CommandChannel, WaitForInputIsReleasedByAPulseWhileWaiting)
{
    std::thread pulser([] { PulseUntil(2); });
    RunScript([] {
        MenuCommand = 1502;
        KeyCode = 65;
        Seen.steps = 1;
        WaitForInput();
        Seen.value1 = MenuCommand.load();  // cleared by the wait
        Seen.value2 = KeyCode.load();
        Seen.steps = 2;
    });
    pulser.join();
    EXPECT_EQ(Seen.steps.load(), 2);
    EXPECT_EQ(Seen.value1.load(), 0);
    EXPECT_EQ(Seen.value2.load(), 0);
}

TEST(CommandChannel, APulseWhileNothingWaitsIsLostButASetEventIsKept)
{
    RunScript([] {
        PulseInput();  // nobody waits: lost
        Seen.value1 = WaitForSingleObject(InputArrived, 0) == WAIT_TIMEOUT ? 1 : 0;
        SetEvent(InputArrived);  // a finished resize: kept for the next wait
        WaitForInput();
        Seen.value2 = EventKind.load();
        Seen.steps = 1;
    });
    EXPECT_EQ(Seen.value1.load(), 1);
    EXPECT_EQ(Seen.value2.load(), 0);
    EXPECT_EQ(Seen.steps.load(), 1);
}

TEST(CommandChannel, FastModeServesRequestsAndWaitsAndStillEndsWithExitCodeZero)
{
    std::thread pulser([] { PulseUntil(2); });
    int exitCode = RunScript([] {
        FastMode = 1;
        PostModeCode(ReqEnterFastMode);
        struct {
            int32_t messageWaiting = -1;
        } record;
        PostGuiRequest(ReqPeekMessage, &record);  // served inside the fast loop
        Seen.value1 = record.messageWaiting;
        Seen.steps = 1;
        WaitForInput();  // the fast input loop runs meanwhile
        Seen.steps = 2;
        EndProgram();  // unwinds both fast loops before WM_QUIT
    });
    pulser.join();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Seen.steps.load(), 2);
    EXPECT_NE(Seen.value1.load(), -1);
}

TEST(CommandChannel, ARequestPostedWhileAMenuOfTheSystemIsOpenIsServedInItsLoop)
{
    Reset();
    std::thread user([] {
        Seen.value1 = WaitForStep(Seen.steps, 2, 10000) ? 1 : 0;
        HWND menu = WaitForWindowOfClass("#32768", nullptr, 20);
        Seen.value2 = menu ? 1 : 0;
        if (menu)
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        while (WaitForWindowOfClass("#32768", nullptr, 20))
            Sleep(20);
        Seen.steps = 3;  // the script ends only once the menu has closed
        // Releases a script whose request was lost, so that the test fails instead of hanging.
        if (!Seen.value1.load())
            SetEvent(RequestDone);
    });
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        HWND edit = CreateMultiLineEdit(MainWindow.load(), "Text", 5, 5, 200, 100);
        // The edit control's context menu runs a modal loop of the system's own.
        PostMessageA(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(60, 60));
        if (!WaitForWindowOfClass("#32768"))
            return;
        Seen.steps = 1;
        struct {
            int32_t messageWaiting = -1;
        } record;
        PostGuiRequest(ReqPeekMessage, &record);
        Seen.steps = 2;
        WaitForStep(Seen.steps, 3);
    });
    user.join();
    EXPECT_EQ(Seen.value1.load(), 1) << "the request was served";
    EXPECT_EQ(Seen.value2.load(), 1) << "while the menu was open";
}

TEST(CommandChannel, AnInputReportedJustAfterTheWaitBeganEndsIt)
{
    Reset();
    std::thread user([] {
        // Releases a script that missed the report, so that the test fails instead of hanging.
        if (!WaitForStep(Seen.steps, 2, 10000))
            PostMessageA(MainWindow.load(), WM_COMMAND, 99, 0);
    });
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        Seen.steps = 1;
        BeginInputWait();
        // Reported on the GUI thread before this thread blocks.
        SendMessageA(MainWindow.load(), WM_COMMAND, 1502, 0);
        FinishInputWait();
        Seen.value1 = MenuCommand.load();
        Seen.steps = 2;
    });
    user.join();
    EXPECT_EQ(Seen.value1.load(), 1502);
}

TEST(CommandChannel, TheProgramGoesOnWhileTheMainWindowIsMoved)
{
    Reset();
    std::thread user([] {
        WaitForStep(Seen.steps, 1);
        SendMessageA(MainWindow.load(), WM_ENTERSIZEMOVE, 0, 0);
        Seen.value2 = 1;
        Seen.value1 = WaitForStep(Seen.steps, 2, 5000) ? 1 : 0;
        SendMessageA(MainWindow.load(), WM_EXITSIZEMOVE, 0, 0);
    });
    RunScript([] {
        OpenMainWindow(10, 10, 300, 200);
        Seen.steps = 1;
        while (Seen.value2.load() != 1)
            Sleep(1);
        // Drawing and requests during the move.
        PrintText("bewegt", 1, 1, 1);
        struct {
            int32_t messageWaiting = -1;
        } record;
        PostGuiRequest(ReqPeekMessage, &record);
        Seen.steps = 2;
    });
    user.join();
    EXPECT_EQ(Seen.value1.load(), 1);
}
