#include "runtime_state.h"

HINSTANCE InstanceHandle = nullptr;
DWORD GuiThreadId = 0;
HANDLE ProgramThread = nullptr;
int32_t ScreenWidth = 0;
int32_t ScreenHeight = 0;
HANDLE RequestDone = nullptr;
HANDLE InputArrived = nullptr;
std::atomic<bool> InputAwaited{false};
std::atomic<uint32_t> InputReports{0};
HWND CommandWindow = nullptr;
int32_t FastMode = 0;
int32_t NextControlId = 1000;
std::atomic<HWND> MainWindow{nullptr};
std::atomic<HWND> ActiveDialog{nullptr};
MessageRecord CurrentMessage;
UINT LastMessage = 0;
std::vector<ScriptString> ArgumentList;
int32_t ArgumentCount = -1;

void RecordCurrentMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMessage.message.exchange(message);
    CurrentMessage.hwnd.exchange(hwnd);
    CurrentMessage.wParam.exchange(wParam);
    CurrentMessage.lParam.exchange(lParam);
}
