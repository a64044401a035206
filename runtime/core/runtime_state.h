#pragma once
// Process-wide runtime state shared by the GUI thread and the program thread. Scalars that
// both threads touch are atomics: written by exchange, read by plain loads.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "values/script_string.h"

// The thread message that carries a request from the program thread to the GUI thread.
constexpr UINT GuiRequest = 0x8001;

extern HINSTANCE InstanceHandle;
extern DWORD GuiThreadId;
extern HANDLE ProgramThread;
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;
extern HANDLE RequestDone;   // auto-reset: set by the GUI thread when a request is served
extern HANDLE InputArrived;  // auto-reset: set by the window procedures (see PulseInput)
// True while the program thread waits for input and no report has claimed the wake-up yet.
extern std::atomic<bool> InputAwaited;
// Counts input reports, so that a wait sees one that came while it was being armed.
extern std::atomic<uint32_t> InputReports;
extern HWND CommandWindow;
extern int32_t FastMode;
extern int32_t NextControlId;
extern std::atomic<HWND> MainWindow;
extern std::atomic<HWND> ActiveDialog;

struct MessageRecord {
    std::atomic<HWND> hwnd{nullptr};
    std::atomic<UINT> message{0};
    std::atomic<WPARAM> wParam{0};
    std::atomic<LPARAM> lParam{0};
};

// The message last seen by the GUI thread.
extern MessageRecord CurrentMessage;
// CurrentMessage's message number when the last WaitForInput ended.
extern UINT LastMessage;

void RecordCurrentMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

extern std::vector<ScriptString> ArgumentList;
extern int32_t ArgumentCount;
