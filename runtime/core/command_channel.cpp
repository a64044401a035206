#include "command_channel.h"

#include <cstdint>

#include "runtime_state.h"
#include "windows/event_variables.h"

namespace {

// InputReports when the current wait cleared the event variables.
uint32_t ReportsBeforeWait = 0;

}  // namespace

// Posted to the command window, not to the thread: a modal loop of the system's own (a menu,
// a drag, a message box) dispatches what it takes, and the command window serves it then,
// where a thread message would be dropped.
void PostGuiRequest(RequestCode code, void* record)
{
    PostMessageA(CommandWindow, GuiRequest, code, reinterpret_cast<LPARAM>(record));
    WaitForSingleObject(RequestDone, INFINITE);
}

void PostModeCode(RequestCode code)
{
    PostMessageA(CommandWindow, GuiRequest, code, 0);
}

void WaitForInput()
{
    BeginInputWait();
    FinishInputWait();
}

void BeginInputWait()
{
    ReportsBeforeWait = InputReports.load();
    MenuCommand.exchange(0);
    TabChanged.exchange(0);
    EventKind.exchange(0);
    KeyCode.exchange(0);
    ClickX.exchange(0);
    ClickY.exchange(0);
    InputAwaited.store(true);
}

void FinishInputWait()
{
    if (FastMode)
        PostModeCode(ReqBeginInputWait);
    // A report between the clearing and the arming found nobody waiting, yet its values
    // stand: the wait ends at once, unless a later report has claimed it and sets the event.
    // At worst a wait ends early with cleared variables, as after a resize.
    bool reportedMeanwhile = InputReports.load() != ReportsBeforeWait;
    if (!reportedMeanwhile || !InputAwaited.exchange(false))
        WaitForSingleObject(InputArrived, INFINITE);
    InputAwaited.store(false);
    if (FastMode)
        PostModeCode(ReqEndInputWait);
    if (EventKind.load() != 5)
        FocusWindow.exchange(reinterpret_cast<INT_PTR>(GetFocus()));
    LastMessage = CurrentMessage.message.load();
}

void EndProgram()
{
    EndProgramWithExitCode(0);
}

// The GUI thread's main loop returns WM_QUIT's wParam as the process exit code.
void EndProgramWithExitCode(int exitCode)
{
    if (FastMode) {
        PostModeCode(ReqEndInputWait);
        PostModeCode(ReqLeaveFastMode);
    }
    PostThreadMessageA(GuiThreadId, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
    ExitThread(0);
}
