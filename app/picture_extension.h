#pragma once
// What a picture's extension says about how the program reads it. Needs no window.

#include "values/script_string.h"

// "jpg", "jif", "jpe" and "peg" (the last three characters of ".jpeg"): a JPEG, which the
// program turns into a BMP before it reads it.
bool IsJpegExtension(const ScriptString& extension);
