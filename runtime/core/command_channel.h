#pragma once
// The program thread's side of the command channel.

#include <windows.h>

#include "request_codes.h"

// Posts a waiting request to the GUI thread and blocks until it has been served. The
// caller owns `record` (except ReqCreateMainWindow's, which the GUI thread frees).
void PostGuiRequest(RequestCode code, void* record);
// Posts one of the fast-mode codes, which carry no record and are not waited for.
void PostModeCode(RequestCode code);
// Blocks until a window procedure reports input; the event variables then describe it.
void WaitForInput();
// Ends the program thread and, with it, the process (exit code 0).
[[noreturn]] void EndProgram();
// The same with another exit code, for runs that report their outcome to a caller.
[[noreturn]] void EndProgramWithExitCode(int exitCode);
