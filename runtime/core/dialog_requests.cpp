#include "dialog_requests.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime_state.h"
#include "services/ansi_paths.h"
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
    // The wide dialog, so that a name in any script arrives as it is (the ANSI one would
    // put "?" in its place); its pieces are the ANSI texts widened. The filter's zero bytes
    // widen with it.
    std::wstring wideFilter = WideFromAnsi(filter.filter);
    std::wstring wideExtension = WideFromAnsi(filter.defaultExtension);
    std::wstring title = WideFromAnsi(request.title ? request.title : "");
    std::wstring file = WideFromAnsi(request.file);
    file.resize(MaxFileChars, L'\0');
    // Without an initial folder the dialog prefers the folder it used last, so a folder the
    // program has chosen as the current one would be ignored.
    wchar_t currentFolder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, currentFolder);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = MainWindow.load();
    dialog.hInstance = InstanceHandle;
    dialog.lpstrFilter = wideFilter.empty() ? nullptr : wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = MaxFileChars;
    dialog.lpstrInitialDir = currentFolder;
    dialog.lpstrTitle = request.title ? title.c_str() : nullptr;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = wideExtension.empty() ? nullptr : wideExtension.c_str();
    BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    request.file[0] = '\0';
    if (!chosen)
        return;
    std::wstring chosenPath(file.c_str());
    PathPurpose purpose = save ? PathPurpose::Save : PathPurpose::Open;
    AnsiPath path = ToAnsiPath(chosenPath, purpose, FileBufferSize - 1);
    if (!path.usable) {
        ShowUnusablePath(dialog.hwndOwner, path, purpose);
        return;
    }
    std::memcpy(request.file, path.path.c_str(), path.path.size() + 1);
    // The chosen file's folder becomes the current one, as callers expect of these dialogs;
    // not every implementation of them does it itself.
    // The folder as the ANSI path names it, so that the program reads it back whole.
    std::string folder = path.path.substr(0, path.path.find_last_of("\\/") + 1);
    if (folder.size() > 3)
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
    request.dialog =
        CreateDialogParamA(request.instance, request.templateName, request.parent, ResourceDialogProcedure, 0);
    if (!request.dialog) {
        WORD id = static_cast<WORD>(std::atoi(request.templateName));
        request.dialog =
            CreateDialogParamA(request.instance, MAKEINTRESOURCEA(id), request.parent, ResourceDialogProcedure, 0);
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
