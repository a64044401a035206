#include "message_loops.h"

#include "request_codes.h"
#include "request_server.h"
#include "runtime_state.h"

namespace {

void TranslateAndDispatch(MSG& msg)
{
    HWND dialog = ActiveDialog.load();
    if (dialog && IsDialogMessageA(dialog, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void RecordMessage(const MSG& msg)
{
    RecordCurrentMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

// GetMessageA for the nested loops. A WM_QUIT that a nested loop takes is posted again, so
// that it also ends the loops around it and finally the main loop.
bool TakeNestedMessage(MSG& msg, UINT first, UINT last)
{
    BOOL got = GetMessageA(&msg, nullptr, first, last);
    if (got == 0)
        PostQuitMessage(static_cast<int>(msg.wParam));
    return got > 0;
}

// Lets input through while the script waits in fast mode; returns at ReqEndInputWait or
// WM_QUIT.
void RunFastInputLoop()
{
    MSG msg;
    while (TakeNestedMessage(msg, 0, 0)) {
        if (msg.message == GuiRequest) {
            if (msg.wParam == ReqEndInputWait)
                return;
            ServeRequest(msg);
            continue;
        }
        RecordMessage(msg);
        TranslateAndDispatch(msg);
    }
}

}  // namespace

int RunMainLoop()
{
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1)
            continue;
        if (msg.message == GuiRequest) {
            ServeRequest(msg);
            continue;
        }
        TranslateAndDispatch(msg);
        RecordMessage(msg);
    }
    return static_cast<int>(msg.wParam);
}

void RunFastLoop()
{
    MSG msg;
    while (TakeNestedMessage(msg, GuiRequest, GuiRequest)) {
        switch (msg.wParam) {
        case ReqLeaveFastMode:
            return;
        case ReqBeginInputWait:
            RunFastInputLoop();
            break;
        default:
            ServeRequest(msg);
            break;
        }
    }
}
