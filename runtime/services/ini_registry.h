#pragma once
// One pair of commands for single settings in ini files and in the registry: a store
// argument "HKEY_" followed by a digit (any letter case) names a registry root, anything
// else an ini file. Program thread only.

#include <windows.h>

#include "values/script_string.h"

// The value, or "" when missing or unreadable (registry failures raise warning 305).
ScriptString ReadIniString(const ScriptString& store, const ScriptString& section, const ScriptString& key);
// Registry values are stored as REG_SZ including their terminating zero.
void WriteIniString(const ScriptString& store, const ScriptString& section, const ScriptString& key,
                    const ScriptString& value);
// The predefined root for "HKEY_0" to "HKEY_6" (case-insensitive, the rest ignored), else
// nullptr.
HKEY RegistryRootFromName(const ScriptString& store);
