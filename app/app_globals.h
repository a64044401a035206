#pragma once
// The application's global values, shared by its procedures as in the script they come
// from. Window and module handles are in app_handles.h; these need no window.

#include <cstdint>

#include "result_text.h"
#include "values/script_string.h"

// Command identifiers, reported positive by MenuItemChosen.
constexpr int32_t CmdLoad = 1500;
constexpr int32_t CmdSave = 1501;
constexpr int32_t CmdStart = 1502;
constexpr int32_t CmdCancel = 1503;
constexpr int32_t CmdHelp = 1504;
constexpr int32_t CmdExit = 1505;

extern ScriptString CRLF;
extern ScriptString StartFolder;
extern ScriptString LoadFolder;
extern ScriptString SaveFolderBmp;
extern ScriptString SaveFolderTxt;
extern ScriptString SaveFolderHtm;
extern ScriptString HelpFile;

extern ResultText TextBuffer;

extern ScriptString PictureFile;
extern ScriptString PictureExt;
extern int32_t PictureWidth;
extern int32_t PictureHeight;
extern ScriptString PictureBaseName;

extern ScriptString ExportFile;
extern ScriptString FontSizeText;
