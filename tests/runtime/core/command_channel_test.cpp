// The two threads and the channel between them, in a running runtime.

#include "core/command_channel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>

#include "core/request_codes.h"
#include "core/runtime_state.h"
#include "support/gui_driver.h"
#include "support/script_runner.h"
#include "windows/controls.h"
#include "windows/event_variables.h"
#include "windows/input_reports.h"
#include "windows/main_window.h"
#include "windows/text_output.h"

namespace {

// Pulses InputArrived every few milliseconds until the script has passed its wait.
void PulseUntil(const std::atomic<int>& step, int passed)
{
    while (step.load() < passed) {
        Sleep(5);
        PulseInput();
    }
}

// What the GUI thread's peek found: whether a message was waiting.
struct PeekRecord {
    int32_t messageWaiting = -1;
};

}  // namespace

TEST(CommandChannel, ScriptRunsOnItsOwnThreadAndEndsWithExitCodeZero)
{
    DWORD scriptThread = 0;
    EXPECT_EQ(RunScript([&scriptThread] { scriptThread = GetCurrentThreadId(); }), 0);
    EXPECT_NE(scriptThread, 0u);
    EXPECT_NE(scriptThread, GetCurrentThreadId());
    EXPECT_EQ(GuiThreadId, GetCurrentThreadId());
}

TEST(CommandChannel, ArgumentListStartsWithTheProgramPath)
{
    RunScript([] {
        EXPECT_EQ(static_cast<int32_t>(ArgumentList.size()), ArgumentCount + 1);
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        ASSERT_FALSE(ArgumentList.empty());
        EXPECT_STRCASEEQ(ArgumentList[0].Text(), path);
    });
    EXPECT_TRUE(ArgumentList.empty());  // emptied at shutdown
}

TEST(CommandChannel, RequestIsServedOnTheGuiThreadAndItsResultReadAfterRequestDone)
{
    RunScript([] {
        // A message queued behind the request is what the GUI thread's peek finds. The GUI
        // thread first sleeps on a request of its own, so that both are queued before it
        // serves the peek.
        PeekRecord record;
        PostThreadMessageA(GuiThreadId, GuiRequest, ReqSleep, 100);
        PostThreadMessageA(GuiThreadId, GuiRequest, ReqPeekMessage, reinterpret_cast<LPARAM>(&record));
        PostMessageA(CommandWindow, WM_APP + 7, 1, 2);
        WaitForSingleObject(RequestDone, INFINITE);  // the sleep
        WaitForSingleObject(RequestDone, INFINITE);  // the peek
        EXPECT_EQ(record.messageWaiting, 1);
        EXPECT_EQ(LastMessage, static_cast<UINT>(WM_APP + 7));
        EXPECT_EQ(CurrentMessage.hwnd.load(), CommandWindow);
    });
}

TEST(CommandChannel, SynchronousRequestsToTheCommandWindow)
{
    RunScript([] {
        struct {
            int32_t pending = -1;
        } record;
        SendMessageA(CommandWindow, GuiRequest, ReqInputPending, reinterpret_cast<LPARAM>(&record));
        EXPECT_EQ(record.pending, 0);
        DWORD start = GetTickCount();
        SendMessageA(CommandWindow, GuiRequest, ReqSleep, 50);
        EXPECT_GE(GetTickCount() - start, 40u);
    });
}

TEST(CommandChannel, WaitForInputIsReleasedByAPulseWhileWaiting)
{
    std::atomic<int> step{0};
    RunScript(
        [&step] {
            MenuCommand = 1502;
            KeyCode = 65;
            step = 1;
            WaitForInput();
            EXPECT_EQ(MenuCommand.load(), 0) << "cleared by the wait";
            EXPECT_EQ(KeyCode.load(), 0);
            step = 2;
        },
        [&step] { PulseUntil(step, 2); });
    EXPECT_EQ(step.load(), 2);
}

TEST(CommandChannel, APulseWhileNothingWaitsIsLostButASetEventIsKept)
{
    bool ended = false;
    RunScript([&ended] {
        PulseInput();  // nobody waits: lost
        EXPECT_EQ(WaitForSingleObject(InputArrived, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        SetEvent(InputArrived);  // a finished resize: kept for the next wait
        WaitForInput();
        EXPECT_EQ(EventKind.load(), 0);
        ended = true;
    });
    EXPECT_TRUE(ended);
}

TEST(CommandChannel, FastModeServesRequestsAndWaitsAndStillEndsWithExitCodeZero)
{
    std::atomic<int> step{0};
    int exitCode = RunScript(
        [&step] {
            FastMode = 1;
            PostModeCode(ReqEnterFastMode);
            PeekRecord record;
            PostGuiRequest(ReqPeekMessage, &record);  // served inside the fast loop
            EXPECT_NE(record.messageWaiting, -1);
            step = 1;
            WaitForInput();  // the fast input loop runs meanwhile
            step = 2;
            EndProgram();  // unwinds both fast loops before WM_QUIT
        },
        [&step] { PulseUntil(step, 2); });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(step.load(), 2);
}

TEST(CommandChannel, ARequestPostedWhileAMenuOfTheSystemIsOpenIsServedInItsLoop)
{
    std::atomic<int> step{0};
    RunScript(
        [&step] {
            OpenMainWindow(10, 10, 300, 200);
            HWND edit = CreateMultiLineEdit(MainWindow.load(), "Text", 5, 5, 200, 100);
            // The edit control's context menu runs a modal loop of the system's own.
            PostMessageA(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(60, 60));
            ASSERT_NE(WaitForWindowOfClass("#32768"), nullptr);
            step = 1;
            PeekRecord record;
            PostGuiRequest(ReqPeekMessage, &record);
            step = 2;
            WaitForStep(step, 3);
        },
        [&step] {
            bool served = WaitForStep(step, 2, 10000);
            EXPECT_TRUE(served) << "the request was served";
            HWND menu = WaitForWindowOfClass("#32768", nullptr, 20);
            EXPECT_NE(menu, nullptr) << "while the menu was open";
            if (menu)
                PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            while (WaitForWindowOfClass("#32768", nullptr, 20))
                Sleep(20);
            step = 3;  // the script ends only once the menu has closed
            // Releases a script whose request was lost, so that the test fails instead of hanging.
            if (!served)
                SetEvent(RequestDone);
        });
}

TEST(CommandChannel, AnInputReportedJustAfterTheWaitBeganEndsIt)
{
    std::atomic<int> step{0};
    RunScript(
        [&step] {
            OpenMainWindow(10, 10, 300, 200);
            step = 1;
            BeginInputWait();
            // Reported on the GUI thread before this thread blocks.
            SendMessageA(MainWindow.load(), WM_COMMAND, 1502, 0);
            FinishInputWait();
            EXPECT_EQ(MenuCommand.load(), 1502);
            step = 2;
        },
        [&step] {
            // Releases a script that missed the report, so that the test fails instead of hanging.
            if (!WaitForStep(step, 2, 10000))
                PostMessageA(MainWindow.load(), WM_COMMAND, 99, 0);
        });
}

TEST(CommandChannel, TheProgramGoesOnWhileTheMainWindowIsMoved)
{
    std::atomic<int> step{0};
    std::atomic<bool> moving{false};
    RunScript(
        [&] {
            OpenMainWindow(10, 10, 300, 200);
            step = 1;
            while (!moving.load())
                Sleep(1);
            // Drawing and requests during the move.
            PrintText("bewegt", 1, 1, 1);
            PeekRecord record;
            PostGuiRequest(ReqPeekMessage, &record);
            step = 2;
        },
        [&] {
            WaitForStep(step, 1);
            SendMessageA(MainWindow.load(), WM_ENTERSIZEMOVE, 0, 0);
            moving = true;
            EXPECT_TRUE(WaitForStep(step, 2, 5000)) << "the script went on during the move";
            SendMessageA(MainWindow.load(), WM_EXITSIZEMOVE, 0, 0);
        });
}
