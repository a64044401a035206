#include "request_server.h"

#include <commctrl.h>

#include <atomic>
#include <cstdint>

#include "dialog_requests.h"
#include "message_loops.h"
#include "request_codes.h"
#include "request_records.h"
#include "runtime_state.h"
#include "services/dll_calls.h"
#include "windows/event_variables.h"
#include "windows/popup_menu.h"
#include "windows/text_font_state.h"
#include "windows/window_classes.h"
#include "windows/window_settings.h"

namespace {

constexpr char CommandWindowClass[] = "CW";

struct InputPendingRequest {
    int32_t pending;  // out
};

void Complete()
{
    SetEvent(RequestDone);
}

void ServeCreateMainWindow(MainWindowRequest* request)
{
    HMENU menu = NoMenu ? nullptr : LoadMenuA(InstanceHandle, "LEER");
    HWND window = CreateWindowExA(WindowExStyle, MainWindowClass, WindowTitle.Text(), WindowStyle, request->x,
                                  request->y, request->width, request->height, nullptr, menu, InstanceHandle, nullptr);
    if (!window)
        ExitProcess(1);
    MainWindow.exchange(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    delete request;
}

HWND CreateRequestedWindow(const ControlRequest& request, const char* text)
{
    bool asGiven = request.mode == 1;
    HMENU id = reinterpret_cast<HMENU>(asGiven ? request.id : static_cast<INT_PTR>(NextControlId));
    HINSTANCE instance = asGiven ? request.instance : InstanceHandle;
    if (!asGiven)
        ++NextControlId;
    return CreateWindowExA(request.exStyle, request.className, text, request.style, request.x, request.y, request.width,
                           request.height, request.parent, id, instance, nullptr);
}

void ServeCreateControl(ControlRequest& request)
{
    request.window = CreateRequestedWindow(request, request.text);
    if (ControlFontMode && request.window)
        SendMessageA(request.window, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont), TRUE);
}

void ServeCreateTabControl(ControlRequest& request)
{
    ControlRequest modeZero = request;
    modeZero.mode = 0;
    request.window = CreateRequestedWindow(modeZero, "");
    if (!request.window)
        return;
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(request.text);
    tab.cchTextMax = lstrlenA(request.text);
    SendMessageA(request.window, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
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

void ServePopupMenu(const PopupMenuRequest& request)
{
    HWND main = MainWindow.load();
    POINT point = {request.x, request.y};
    ClientToScreen(main, &point);
    BOOL chosen = TrackPopupMenu(MenuTable[0], TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, main, nullptr);
    MenuCommand.exchange(chosen);
}

void ServeDestroyWindow(DestroyWindowRequest& request)
{
    request.result = DestroyWindow(request.window) ? 1 : 0;
}

void ServeCreateDialogWindow(DialogWindowRequest& request)
{
    request.window = CreateWindowExA(WindowExStyle, DialogWindowClass, request.title, WindowStyle, request.x, request.y,
                                     request.width, request.height, request.parent, nullptr, InstanceHandle, nullptr);
    if (!request.window)
        return;
    ShowWindow(request.window, SW_SHOW);
    UpdateWindow(request.window);
}

void ServeSendToAll(const SendToAllRequest& request)
{
    for (const ScriptString& element : *request.list)
        SendMessageA(request.window, request.message, 0, reinterpret_cast<LPARAM>(element.Text()));
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
    // A posted request arrives here only from a modal loop of the system's own, which
    // dispatches it; the runtime's loops serve it before dispatching. Only the program thread
    // sends requests.
    if (!InSendMessage()) {
        ServeRequest(MSG{window, message, wParam, lParam, 0, {}});
        return 0;
    }
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

template <typename Record>
Record& RecordOf(const MSG& msg)
{
    return *reinterpret_cast<Record*>(msg.lParam);
}

}  // namespace

void ServeRequest(const MSG& msg)
{
    switch (msg.wParam) {
    case ReqCreateMainWindow:
        ServeCreateMainWindow(&RecordOf<MainWindowRequest>(msg));
        break;
    case ReqCreateControl:
        ServeCreateControl(RecordOf<ControlRequest>(msg));
        break;
    case ReqPeekMessage:
        ServePeekMessage(RecordOf<PeekMessageRequest>(msg));
        break;
    case ReqLayoutDialog:
        ServeLayoutDialog(RecordOf<LayoutDialogRequest>(msg));
        break;
    case ReqResourceDialog:
        ServeResourceDialog(RecordOf<ResourceDialogRequest>(msg));
        break;
    case ReqPopupMenu:
        ServePopupMenu(RecordOf<PopupMenuRequest>(msg));
        break;
    case ReqDestroyWindow:
        ServeDestroyWindow(RecordOf<DestroyWindowRequest>(msg));
        break;
    case ReqFileDialog:
        ServeFileDialog(RecordOf<FileDialogRequest>(msg));
        break;
    case ReqCreateTabControl:
        ServeCreateTabControl(RecordOf<ControlRequest>(msg));
        break;
    case ReqPumpMessages:
        ServePumpMessages();
        break;
    case ReqCreateDialogWindow:
        ServeCreateDialogWindow(RecordOf<DialogWindowRequest>(msg));
        break;
    case ReqBrowseFolder:
        ServeBrowseFolder(RecordOf<BrowseFolderRequest>(msg));
        break;
    case ReqEditBoxDialog:
        ServeEditBoxDialog(RecordOf<EditBoxDialogRequest>(msg));
        break;
    case ReqListBoxDialog:
        ServeListBoxDialog(RecordOf<ListBoxDialogRequest>(msg));
        break;
    case ReqInputDialog:
        ServeInputDialog(RecordOf<InputDialogRequest>(msg));
        break;
    case ReqCallFunction:
        ServeCallFunction(RecordOf<DllCallRequest>(msg));
        break;
    case ReqSleep:
        Sleep(static_cast<DWORD>(msg.lParam));
        break;
    case ReqInputPending:
        RecordOf<InputPendingRequest>(msg).pending = InputIsPending();
        break;
    case ReqSendToAll:
        ServeSendToAll(RecordOf<SendToAllRequest>(msg));
        break;
    case ReqCustomDialog:
        // Not waited for: the poster goes on at once.
        ServeCustomDialog(RecordOf<CustomDialogRequest>(msg));
        return;
    case ReqEnterFastMode:
        RunFastLoop();
        return;
    default:
        // The mode codes 0xA016 to 0xA018 mean something only to the fast loops.
        return;
    }
    Complete();
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
