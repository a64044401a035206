#pragma once
// Start-up defaults and shutdown of files, DLL calls and drawing.

// No draw buffer, drawing window -1, last bitmap size 0 x 0, FileMode 2.
void InitialiseServices();
// Deletes the draw buffer and the fonts of SelectTextFont, and closes the file slots still
// open.
void CleanupServices();
