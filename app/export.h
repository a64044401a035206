#pragma once
// Saving the character picture: the save menu, and the bitmap, text and HTML exports.

#include "values/script_string.h"

// Shows the save menu at the mouse position and runs the export of the chosen item.
void ShowSaveMenu();

void ExportBitmap();
void ExportText();
void ExportHtml();
void ExportColouredHtml();

// Writing the character picture to a given file, for the save menu and the conversion
// without a window. False when the file was not written completely; a text or HTML file
// that could not be finished is removed; the coloured page has its runs of one colour in
// spans and "<", ">" and "&" escaped. The bitmap's own write failures are reported by
// the runtime (warning 229).
bool WriteTextFile(const ScriptString& path);
bool WriteHtmlFile(const ScriptString& path, const ScriptString& title, const ScriptString& fontSize);
bool WriteColouredHtmlFile(const ScriptString& path, const ScriptString& title, const ScriptString& fontSize);
// `coloured`: each glyph in its cell's colour from TextColours, on white.
bool WriteBitmapFile(const ScriptString& path, bool coloured = false);
