#pragma once
// Converting one picture without a window, wholly in memory: the picture is decoded by the
// program's own decoders, scaled and converted against a model of the draw buffer, and the
// result written as the window saves it, byte for byte. The same code serves the Windows
// program and the native command.

#include "batch/command_options.h"

// Converts options.picture into options.output (standard output when empty); reports a
// failure on standard error in German and returns one of the exit codes of
// command_options.h.
int ConvertInMemory(const CommandOptions& options);
