// The two threads and the channel between them, in a running runtime.

#include "core/command_channel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "core/request_codes.h"
#include "core/runtime_state.h"
#include "core/startup.h"
#include "windows/event_variables.h"

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

int RunScript(ScriptBody script)
{
    Seen.scriptThread = 0;
    Seen.value1 = -1;
    Seen.value2 = -1;
    Seen.message = 0;
    Seen.steps = 0;
    return RunRuntime(GetModuleHandleA(nullptr), script);
}

// Pulses InputArrived every few milliseconds until the script has passed its wait.
void PulseUntil(int step)
{
    while (Seen.steps.load() < step) {
        Sleep(5);
        PulseEvent(InputArrived);
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
        PulseEvent(InputArrived);  // nobody waits: lost
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
