#include "settings_file.h"

#include <windows.h>
#include <shlobj.h>

ScriptString SettingsFilePath()
{
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return ScriptString("glyphmill.ini");
    ScriptString path(folder);
    path.Append("\\Glyphmill");
    CreateDirectoryA(path.Text(), nullptr);
    path.Append("\\glyphmill.ini");
    return path;
}
