#pragma once
// The application's main program, run on the program thread, and the steps of it that
// other parts of the application share.

#include <string>

#include "services/ansi_paths.h"

void MainScript();
// A picture that MainScript opens once the window stands, as if chosen in the open dialog.
void SetPictureToOpen(const AnsiPath& path);

// Locks toolbar and controls and resets the conversion state before a conversion.
void PrepareConversion();
// The option radios are enabled exactly while "4-Pixel (empfohlen)" is checked.
void EnableOptionRadios();
