#pragma once
// The standard open and save dialogs, shown by the GUI thread.

#include "values/script_string.h"

// The chosen path, or "" when the dialog was cancelled. `filter` holds description and
// pattern pieces separated by "|".
ScriptString OpenFileDialog(const ScriptString& title, const ScriptString& filter);
// The chosen path, or "". The initial name's extension becomes the only pattern and the
// default extension.
ScriptString SaveFileDialog(const ScriptString& title, const ScriptString& initialName);
