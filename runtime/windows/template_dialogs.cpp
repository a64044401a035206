#include "template_dialogs.h"

#include <string>

#include "core/request_records.h"

std::atomic<int32_t> DialogResult{0};
std::vector<ScriptString> LineList;

namespace {

constexpr int Confirmed = 1;
constexpr int Cancelled = 2;

template <typename Record>
Record& RecordOf(HWND dialog)
{
    return *reinterpret_cast<Record*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void KeepRecord(HWND dialog, LPARAM lParam)
{
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
}

ScriptString ControlText(HWND control)
{
    int length = GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(control, text.data(), length + 1);
    return ScriptString(text.data(), static_cast<uint32_t>(copied));
}

std::string JoinedLines()
{
    std::string text;
    for (size_t i = 0; i < LineList.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text.append(LineList[i].View());
    }
    return text;
}

void ReplaceLines(const ScriptString& text)
{
    LineList.clear();
    std::string_view rest = text.View();
    while (!rest.empty()) {
        size_t end = rest.find("\r\n");
        std::string_view line = rest.substr(0, end);
        LineList.emplace_back(line.data(), static_cast<uint32_t>(line.size()));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 2);
    }
}

INT_PTR InitInputDialog(HWND dialog, LPARAM lParam)
{
    KeepRecord(dialog, lParam);
    auto& record = *reinterpret_cast<InputDialogRequest*>(lParam);
    SetWindowTextA(dialog, record.title);
    SetDlgItemTextA(dialog, PromptTextId, record.prompt);
    SetDlgItemTextA(dialog, DialogEditId, record.text.Text());
    return TRUE;
}

INT_PTR InitEditBoxDialog(HWND dialog, LPARAM lParam)
{
    KeepRecord(dialog, lParam);
    auto& record = *reinterpret_cast<EditBoxDialogRequest*>(lParam);
    SetWindowTextA(dialog, record.title);
    SetDlgItemTextA(dialog, DialogEditId, JoinedLines().c_str());
    return TRUE;
}

INT_PTR InitListBoxDialog(HWND dialog, LPARAM lParam)
{
    KeepRecord(dialog, lParam);
    auto& record = *reinterpret_cast<ListBoxDialogRequest*>(lParam);
    SetWindowTextA(dialog, record.title);
    HWND list = GetDlgItem(dialog, DialogListId);
    for (const ScriptString& line : LineList)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text()));
    RECT client = {};
    GetClientRect(list, &client);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(client.right * 1.4), 0);
    return TRUE;
}

void ChooseListLine(HWND dialog)
{
    auto& record = RecordOf<ListBoxDialogRequest>(dialog);
    HWND list = GetDlgItem(dialog, DialogListId);
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    record.chosen = "";
    if (index != LB_ERR) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
        std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        record.chosen = text.c_str();
    }
    DialogResult.exchange(Confirmed);
    EndDialog(dialog, 1);
}

INT_PTR InputDialogCommand(HWND dialog, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        RecordOf<InputDialogRequest>(dialog).text = ControlText(GetDlgItem(dialog, DialogEditId));
        DialogResult.exchange(Confirmed);
        EndDialog(dialog, 0);
        return TRUE;
    case IDCANCEL:
        RecordOf<InputDialogRequest>(dialog).text = "";
        DialogResult.exchange(Cancelled);
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR EditBoxDialogCommand(HWND dialog, WPARAM wParam)
{
    HWND edit = GetDlgItem(dialog, DialogEditId);
    switch (LOWORD(wParam)) {
    case IDOK:
        ReplaceLines(ControlText(edit));
        EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case CopyButtonId:
        SendMessageA(edit, WM_COPY, 0, 0);
        return TRUE;
    case CutButtonId:
        SendMessageA(edit, WM_CUT, 0, 0);
        return TRUE;
    case PasteButtonId:
        SendMessageA(edit, WM_PASTE, 0, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR ListBoxDialogCommand(HWND dialog, WPARAM wParam)
{
    WORD id = LOWORD(wParam);
    if (id == IDOK || (id == DialogListId && HIWORD(wParam) == LBN_DBLCLK)) {
        ChooseListLine(dialog);
        return TRUE;
    }
    if (id == IDCANCEL) {
        RecordOf<ListBoxDialogRequest>(dialog).chosen = "";
        DialogResult.exchange(Cancelled);
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

// A template dialog's messages: its filling on WM_INITDIALOG, its buttons on WM_COMMAND.
template <INT_PTR (*Init)(HWND, LPARAM), INT_PTR (*Command)(HWND, WPARAM)>
INT_PTR HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return Init(dialog, lParam);
    case WM_COMMAND:
        return Command(dialog, wParam);
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK InputDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage<InitInputDialog, InputDialogCommand>(dialog, message, wParam, lParam);
}

INT_PTR CALLBACK EditBoxDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage<InitEditBoxDialog, EditBoxDialogCommand>(dialog, message, wParam, lParam);
}

INT_PTR CALLBACK ListBoxDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage<InitListBoxDialog, ListBoxDialogCommand>(dialog, message, wParam, lParam);
}

const char* ListBoxTemplate(int32_t lineCount)
{
    static const char* const names[] = {"LISTBOX1", "LISTBOX2", "LISTBOX3", "LISTBOX4",
                                        "LISTBOX5", "LISTBOX6", "LISTBOX7", "LISTBOX8"};
    return lineCount >= 1 && lineCount <= 8 ? names[lineCount - 1] : "LISTBOX7";
}
