#pragma once
// The conversion without a window as both programs run it: wildcards expanded, one picture
// converted in memory, or several into an output folder.

#include "batch/command_options.h"

// Returns the exit code.
int RunConversion(CommandOptions options);
