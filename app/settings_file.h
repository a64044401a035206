#pragma once
// Where glyphmill.ini is kept: the user's application-data folder, which a standard user can
// write (the Windows folder, where a bare file name would put it, is not writable for them).

#include "values/script_string.h"

// The settings file's path; its folder is created when missing.
ScriptString SettingsFilePath();
