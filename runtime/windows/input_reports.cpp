#include "input_reports.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>

#include "core/runtime_settings.h"
#include "core/runtime_state.h"
#include "event_variables.h"

namespace {

constexpr int EventCancel = 2;
constexpr int EventResize = 4;
constexpr int EventReturn = 13;
constexpr int EventControl = 255;
constexpr int EventSelection = 1;

bool IsSelectionCode(WORD code)
{
    return code == 1 || code == 3 || code == 4 || code == 9 || code == 10;
}

// A control's notification that comes while the GUI thread serves a message the program
// thread sent (the result field's EN_UPDATE and EN_CHANGE while the text grows) is the
// program's own doing, not the user's: it must not replace a command the script has not
// yet taken, such as "Abbrechen" pressed just before the send.
bool CausedByTheProgram(LPARAM lParam, WORD code)
{
    return lParam != 0 && code != 0 && (InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_REPLIED)) == ISMEX_SEND;
}

}  // namespace

// Only the report that finds the program waiting sets the event, so one that comes while it
// is busy ends no later wait, and a resize's set event is never taken back.
void PulseInput()
{
    InputReports.fetch_add(1);
    if (InputAwaited.exchange(false))
        SetEvent(InputArrived);
}

LRESULT ReportCommand(HWND window, WPARAM wParam, LPARAM lParam, const CommandReporting& reporting)
{
    WORD id = LOWORD(wParam);
    WORD code = HIWORD(wParam);
    bool reportsIds = MessageMode.load() != 0 || !reporting.dialogKeys;
    if (reportsIds && !CausedByTheProgram(lParam, code))
        MenuCommand.exchange(-static_cast<int32_t>(static_cast<int16_t>(id)));
    if (lParam == 0) {
        if (reporting.dialogKeys && (id & 0xFF) == IDCANCEL && code == 0) {
            SetFocus(nullptr);
            EventKind.exchange(EventCancel);
        } else {
            MenuCommand.exchange(id);
        }
        PulseInput();
        return 0;
    }
    HWND control = reinterpret_cast<HWND>(lParam);
    if (code == 0) {
        FocusWindow.exchange(reinterpret_cast<INT_PTR>(control));
        EventKind.exchange(EventControl);
        SetFocus(control);
        PulseInput();
        return 0;
    }
    if (IsSelectionCode(code)) {
        FocusWindow.exchange(reinterpret_cast<INT_PTR>(control));
        EventKind.exchange(EventSelection);
        PulseInput();
        return 0;
    }
    if (code == EN_SETFOCUS || code == EN_CHANGE)
        FocusWindow.exchange(reinterpret_cast<INT_PTR>(control));
    if (reportsIds)
        PulseInput();
    return reporting.defaultProcedure(window, WM_COMMAND, wParam, lParam);
}

void ReportNotify(const NMHDR& header)
{
    if (header.code == static_cast<UINT>(TCN_SELCHANGE)) {
        TabChanged.exchange(1);
        TabControl.exchange(header.hwndFrom);
    }
    PulseInput();
}

LRESULT ReportScroll(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC defaultProcedure)
{
    if (lParam == 0)
        return defaultProcedure(window, message, wParam, lParam);
    auto scrollBar = reinterpret_cast<HWND>(lParam);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    GetScrollInfo(scrollBar, SB_CTL, &info);
    int page = std::abs(info.nMax - info.nMin) / 10;
    int position = info.nPos;
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        if (position != 0)
            --position;
        break;
    case SB_LINEDOWN:
        if (position < info.nMax)
            ++position;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBPOSITION:
        position = HIWORD(wParam);
        break;
    case SB_TOP:
        position = info.nMin;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        break;
    }
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(scrollBar, SB_CTL, &info, TRUE);
    if (LOWORD(wParam) == SB_ENDSCROLL) {
        defaultProcedure(window, message, wParam, reinterpret_cast<LPARAM>(scrollBar));
        EventKind.exchange(EventControl);
        PulseInput();
    }
    return 0;
}

LRESULT ReportSysCommand(HWND window, WPARAM wParam, LPARAM lParam, WNDPROC defaultProcedure)
{
    WPARAM command = wParam & 0xFFF0;
    LRESULT result = defaultProcedure(window, WM_SYSCOMMAND, wParam, lParam);
    if (command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE) {
        EventKind.exchange(EventResize);
        PulseInput();
    }
    return result;
}

void ReportReturnKey(HWND window, bool alwaysMoveFocus)
{
    if (!(GetKeyState(VK_RETURN) & 0x8000))
        return;
    HWND focus = GetFocus();
    if (alwaysMoveFocus || focus != window)
        SetFocus(GetWindow(focus, GW_HWNDNEXT));
    EventKind.exchange(EventReturn);
    PulseInput();
}

void ReportClose(HWND window)
{
    SetFocus(window);
    EventKind.exchange(EventCancel);
    PulseInput();
}
