#pragma once
// A conversion replayed in a window of this process laid out like the program's: the
// program's own WindowConversionHost shows the progress and the text from a worker thread,
// as the program thread does, while the pixels come from memory (MemoryKernel). A clock
// around each kind of update, and a count of the messages the controls received.

#include "kernel_host.h"

struct Breakdown {
    double totalMs = 0;
    double progressMs = 0;
    double textMs = 0;
    double completeMs = 0;  // showing what was held back, at the end
    int progressSends = 0;
    int textSends = 0;  // batches set or appended, and the final check's setting
};

// `pixels`: the host the picture is drawn and read in (a MemoryKernel's).
Breakdown ReplayConversion(void (*method)(ConversionHost&), ConversionHost& pixels);
