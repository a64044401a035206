#include "command_channel.h"

#include "runtime_state.h"
#include "windows/event_variables.h"

void PostGuiRequest(RequestCode code, void* record)
{
    PostThreadMessageA(GuiThreadId, GuiRequest, code, reinterpret_cast<LPARAM>(record));
    WaitForSingleObject(RequestDone, INFINITE);
}

void PostModeCode(RequestCode code)
{
    PostThreadMessageA(GuiThreadId, GuiRequest, code, 0);
}

void WaitForInput()
{
    MenuCommand.exchange(0);
    TabChanged.exchange(0);
    EventKind.exchange(0);
    KeyCode.exchange(0);
    ClickX.exchange(0);
    ClickY.exchange(0);
    if (FastMode)
        PostModeCode(ReqBeginInputWait);
    WaitForSingleObject(InputArrived, INFINITE);
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
