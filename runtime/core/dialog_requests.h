#pragma once
// The request server's dialogs: the standard file dialogs, the folder browser, and the
// dialogs made from the program's templates.

#include "request_records.h"

void ServeFileDialog(FileDialogRequest& request);
void ServeBrowseFolder(BrowseFolderRequest& request);
void ServeLayoutDialog(LayoutDialogRequest& request);
void ServeResourceDialog(ResourceDialogRequest& request);
void ServeCustomDialog(CustomDialogRequest& request);
void ServeEditBoxDialog(EditBoxDialogRequest& request);
void ServeListBoxDialog(ListBoxDialogRequest& request);
void ServeInputDialog(InputDialogRequest& request);
