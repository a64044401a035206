#include "dialog_requests.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "runtime_state.h"
#include "windows/dialog_procedures.h"
#include "windows/file_dialog_filter.h"
#include "windows/template_dialogs.h"

namespace {

constexpr DWORD MaxFileChars = 292;

void ShowDialog(HWND dialog)
{
    if (!dialog)
        return;
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
}

}  // namespace

void ServeFileDialog(FileDialogRequest& request)
{
    bool save = request.mode == 1;
    FileDialogFilter filter = save ? BuildSaveFilter(request.file) : BuildOpenFilter(request.filter);
    // Without an initial folder the dialog prefers the folder it used last, so a folder the
    // program has chosen as the current one would be ignored.
    char currentFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, currentFolder);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = MainWindow.load();
    dialog.hInstance = InstanceHandle;
    dialog.lpstrFilter = filter.filter.empty() ? nullptr : filter.filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = request.file;
    dialog.nMaxFile = MaxFileChars;
    dialog.lpstrInitialDir = currentFolder;
    dialog.lpstrTitle = request.title;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = filter.defaultExtension.empty() ? nullptr : filter.defaultExtension.c_str();
    BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!chosen) {
        request.file[0] = '\0';
        return;
    }
    // The chosen file's folder becomes the current one, as callers expect of these dialogs;
    // not every implementation of them does it itself.
    std::string folder(request.file, dialog.nFileOffset);
    if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    SetCurrentDirectoryA(folder.c_str());
}

void ServeBrowseFolder(BrowseFolderRequest& request)
{
    BROWSEINFOA browse = {};
    browse.hwndOwner = MainWindow.load();
    browse.pszDisplayName = request.path;
    browse.lpszTitle = request.title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (item && SHGetPathFromIDListA(item, request.path)) {
        DialogResult.exchange(1);
    } else {
        request.path[0] = '\0';
        DialogResult.exchange(0);
    }
    CoTaskMemFree(item);
}

void ServeLayoutDialog(LayoutDialogRequest& request)
{
    request.dialog = CreateDialogParamA(InstanceHandle, "LDIALOG", request.parent, ResourceDialogProcedure,
                                        reinterpret_cast<LPARAM>(&request));
    ShowDialog(request.dialog);
}

void ServeResourceDialog(ResourceDialogRequest& request)
{
    request.dialog = CreateDialogParamA(request.instance, request.templateName, request.parent,
                                        ResourceDialogProcedure, 0);
    if (!request.dialog) {
        WORD id = static_cast<WORD>(std::atoi(request.templateName));
        request.dialog = CreateDialogParamA(request.instance, MAKEINTRESOURCEA(id), request.parent,
                                            ResourceDialogProcedure, 0);
    }
    ShowDialog(request.dialog);
}

void ServeCustomDialog(CustomDialogRequest& request)
{
    ShowDialog(CreateDialogParamA(InstanceHandle, "LDIALOG", MainWindow.load(), request.procedure,
                                  reinterpret_cast<LPARAM>(&request)));
}

void ServeEditBoxDialog(EditBoxDialogRequest& request)
{
    const char* name = request.variant == 2 ? "EDITBOX2" : "EDITBOX1";
    request.result = DialogBoxParamA(InstanceHandle, name, MainWindow.load(), EditBoxDialogProcedure,
                                     reinterpret_cast<LPARAM>(&request));
}

void ServeListBoxDialog(ListBoxDialogRequest& request)
{
    DialogBoxParamA(InstanceHandle, ListBoxTemplate(request.lineCount), MainWindow.load(), ListBoxDialogProcedure,
                    reinterpret_cast<LPARAM>(&request));
}

void ServeInputDialog(InputDialogRequest& request)
{
    DialogBoxParamA(InstanceHandle, "INPUT", MainWindow.load(), InputDialogProcedure,
                    reinterpret_cast<LPARAM>(&request));
}
