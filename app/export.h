#pragma once
// Saving the character picture: the save menu, and the bitmap, text and HTML exports.

// Shows the save menu at the mouse position and runs the export of the chosen item.
void ShowSaveMenu();

void ExportBitmap();
void ExportText();
void ExportHtml();
