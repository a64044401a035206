#pragma once
// The conversion without a window at a chosen number of columns: the loaded picture is
// replaced by a copy scaled to the size that gives them, which is then converted as any
// picture is.

#include <cstdint>
#include <string>

#include "batch/command_options.h"
#include "window_conversion/window_conversion_host.h"

// Draws the loaded picture, scales it for `columns` columns of `method` and makes the
// scaled copy, a BMP in `folder`, the picture; its name keeps the picture's base name, so
// that an HTML page keeps its title; `copy` receives its path before it is written. A
// picture that already has that size stays as it is. False when the copy could not be
// made; a size the draw buffer cannot hold is reported through its too-large notice.
bool UseScaledPicture(DrawBufferConversionHost& host, BatchMethod method, int32_t columns, const std::string& folder,
                      std::string& copy);
