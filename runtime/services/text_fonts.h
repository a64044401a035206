#pragma once
// Fonts made by SelectTextFont. Program thread only.

#include <cstdint>

#include "values/script_string.h"

// Makes CurrentFont from the arguments (flags count when not 0; the face is cut to 31
// characters) and selects it into DrawTarget, and into MirrorTarget on the main window.
// Error 237 without a drawing target.
void SelectTextFont(const ScriptString& face, int32_t height, int32_t width, int32_t bold, int32_t italic,
                    int32_t underline);
// Deletes the fonts made here that are neither CurrentFont nor selected into a device
// context of the runtime; called whenever a context goes (buffer replaced, window context
// released), since the font in it would otherwise be lost.
void ReleaseUnusedFonts();
// Runtime shutdown: deletes every font made here, CurrentFont included, and clears it.
void DeleteTextFonts();
