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
// WaitForInput in its two halves, for a caller that acts between them: the first clears the
// event variables, after which a reported input counts as arriving during the wait; the
// second blocks until one has been reported.
void BeginInputWait();
void FinishInputWait();
// Ends the program thread and, with it, the process (exit code 0).
[[noreturn]] void EndProgram();
// The same with another exit code, for runs that report their outcome to a caller.
[[noreturn]] void EndProgramWithExitCode(int exitCode);
