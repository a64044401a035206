#pragma once
// Runtime failures are numbered codes with an optional detail text. The error level decides
// whether a report is silent, asks the user, or ends the program; how a box is shown and how
// the program ends is supplied by the window runtime (InstallErrorBoxes).

#include <cstdint>

// -1 silent; 0 warnings silent; 1 warnings ask (OK/Cancel); 2 warnings end the program.
extern int32_t ErrorLevel;

struct ErrorBoxes {
    void (*showError)(const char* title);       // error icon, OK
    bool (*askToContinue)(const char* title);   // warning icon, OK (true) or Cancel (false)
    [[noreturn]] void (*endProgram)();
};

void InstallErrorBoxes(const ErrorBoxes& boxes);

// The fixed message of a code; "" for codes without one.
const char* ErrorText(int32_t code);

// Fatal: returns only at ErrorLevel -1.
void RaiseError(int32_t code, const char* detail = nullptr);
// Non-fatal: returns unless the report ends the program.
void RaiseWarning(int32_t code, const char* detail = nullptr);
