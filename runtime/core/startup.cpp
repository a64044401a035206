#include "startup.h"

#include <objbase.h>

#include <clocale>
#include <string>

#include "command_channel.h"
#include "command_line.h"
#include "message_loops.h"
#include "request_server.h"
#include "runtime_state.h"
#include "services/services_runtime.h"
#include "values/error_report.h"
#include "values/number_text.h"
#include "windows/window_runtime.h"

namespace {

ScriptBody Script = nullptr;

// The program thread's first steps come before the script's first statement: requests
// posted before the GUI thread has a queue would be lost, and focus and key-state queries
// must see the GUI thread's input state.
DWORD WINAPI ProgramThreadMain(LPVOID)
{
    while (!PostThreadMessageA(GuiThreadId, WM_NULL, 0, 0))
        Sleep(0);
    AttachThreadInput(GetCurrentThreadId(), GuiThreadId, TRUE);
    Script();
    EndProgram();
}

void InitialiseCore()
{
    GuiThreadId = GetCurrentThreadId();
    NextControlId = 1000;
    ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    RequestDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ErrorLevel = 1;
    FastMode = 0;
    SetDecimals(6);
    CoInitialize(nullptr);
    ArgumentCount = -1;
    ArgumentList.clear();
    // Cut a copy, so that the runtime can be started more than once in one process.
    std::string commandLine = GetCommandLineA();
    SplitCommandLine(commandLine.data(), ArgumentList, ArgumentCount);
    if (!CreateCommandWindow())
        ExitProcess(1);
}

void SelectLocale()
{
    std::setlocale(LC_ALL, "English");
    SetDecimalSeparator(std::localeconv()->decimal_point);
}

int RunGuiThread()
{
    ProgramThread = CreateThread(nullptr, 0, ProgramThreadMain, nullptr, 0, nullptr);
    // Without it nothing would ever make a window or end the process.
    if (!ProgramThread)
        ExitProcess(1);
    int exitCode = RunMainLoop();
    WaitForSingleObject(ProgramThread, INFINITE);
    CloseHandle(ProgramThread);
    ProgramThread = nullptr;
    return exitCode;
}

void ShutDown()
{
    CleanupServices();
    CleanupWindowRuntime();
    SetDecimalSeparator(".");
    CloseHandle(RequestDone);
    RequestDone = nullptr;
    DestroyCommandWindow();
    CoUninitialize();
    ArgumentList.clear();
}

}  // namespace

int RunRuntime(HINSTANCE instance, ScriptBody script)
{
    Script = script;
    InstanceHandle = instance;
    InitialiseCore();
    SelectLocale();
    if (!InitialiseWindowRuntime())
        ExitProcess(1);
    InitialiseServices();
    int exitCode = RunGuiThread();
    ShutDown();
    return exitCode;
}
