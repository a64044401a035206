#include "app_globals.h"

ScriptString CRLF;
ScriptString StartFolder;
ScriptString LoadFolder;
ScriptString SaveFolderBmp;
ScriptString SaveFolderTxt;
ScriptString SaveFolderHtm;
ScriptString HelpFile;

ResultText TextBuffer;

ScriptString PictureFile;
ScriptString PictureExt;
int32_t PictureWidth = 0;
int32_t PictureHeight = 0;
ScriptString PictureBaseName;

ScriptString ExportFile;
ScriptString FontSizeText;
