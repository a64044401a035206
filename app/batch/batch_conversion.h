#pragma once
// Converting a picture without a window: the command line's options stand in for the
// controls, while the picture is loaded, drawn, read and exported by the very procedures
// the window uses.

#include "batch/command_options.h"

// Set before the runtime starts BatchScript.
void SetBatchOptions(const CommandOptions& options);
// The program thread's script of a conversion without a window; ends the process with one
// of the exit codes of command_options.h.
void BatchScript();
