#include "request_server.h"

#include <atomic>
#include <cstdint>

#include "message_loops.h"
#include "request_codes.h"
#include "runtime_state.h"
#include "services/dll_calls.h"

namespace {

constexpr char CommandWindowClass[] = "CW";

struct PeekMessageRequest {
    int32_t messageWaiting;  // out
};

struct InputPendingRequest {
    int32_t pending;  // out
};

void Complete()
{
    SetEvent(RequestDone);
}

void ServePeekMessage(PeekMessageRequest& request)
{
    MSG msg;
    request.messageWaiting = PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) ? 1 : 0;
    if (request.messageWaiting) {
        RecordCurrentMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        LastMessage = msg.message;
    }
}

void ServePumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int32_t InputIsPending()
{
    Sleep(0);
    return GetQueueStatus(QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON) != 0 ? 1 : 0;
}

LRESULT CALLBACK CommandWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != GuiRequest)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (wParam) {
    case ReqCallFunction:
        ServeCallFunction(*reinterpret_cast<DllCallRequest*>(lParam));
        return 0;
    case ReqSleep:
        Sleep(static_cast<DWORD>(lParam));
        return 0;
    case ReqInputPending:
        reinterpret_cast<InputPendingRequest*>(lParam)->pending = InputIsPending();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void ServeRequest(const MSG& msg)
{
    void* record = reinterpret_cast<void*>(msg.lParam);
    switch (msg.wParam) {
    case ReqPeekMessage:
        ServePeekMessage(*static_cast<PeekMessageRequest*>(record));
        Complete();
        break;
    case ReqPumpMessages:
        ServePumpMessages();
        Complete();
        break;
    case ReqCallFunction:
        ServeCallFunction(*static_cast<DllCallRequest*>(record));
        Complete();
        break;
    case ReqSleep:
        Sleep(static_cast<DWORD>(msg.lParam));
        Complete();
        break;
    case ReqInputPending:
        static_cast<InputPendingRequest*>(record)->pending = InputIsPending();
        Complete();
        break;
    case ReqEnterFastMode:
        RunFastLoop();
        break;
    default:
        break;
    }
}

bool CreateCommandWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CommandWindowProc;
    windowClass.hInstance = InstanceHandle;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = CommandWindowClass;
    if (!RegisterClassA(&windowClass))
        return false;
    CommandWindow = CreateWindowExA(0, CommandWindowClass, CommandWindowClass, 0, 0, 0, 0, 0, nullptr, nullptr,
                                    InstanceHandle, nullptr);
    return CommandWindow != nullptr;
}

void DestroyCommandWindow()
{
    DestroyWindow(CommandWindow);
    CommandWindow = nullptr;
    UnregisterClassA(CommandWindowClass, InstanceHandle);
}
