#pragma once
// Runtime failures are numbered codes with an optional detail text. The error level decides
// whether a report is silent, asks the user, or ends the program; how a box is shown and how
// the program ends is supplied by the window runtime (InstallErrorBoxes).

#include <cstdint>

// -1 silent; 0 warnings silent; 1 warnings ask (OK/Cancel); 2 warnings end the program.
extern int32_t ErrorLevel;

struct ErrorBoxes {
    void (*showError)(const char* title);      // error icon, OK
    bool (*askToContinue)(const char* title);  // warning icon, OK (true) or Cancel (false)
    [[noreturn]] void (*endProgram)();
};

void InstallErrorBoxes(const ErrorBoxes& boxes);

// The numbers of the message table (error_report.cpp), which its reports keep.
enum ErrorCode : int32_t {
    ErrorWrongTypeForDtoc = 202,
    ErrorWrongTypeForCtod = 203,
    ErrorStringIndexBelowOne = 204,
    ErrorSubstringNumberBelowOne = 205,
    ErrorTooFewElements = 206,
    ErrorCommandLineParameterMissing = 208,
    ErrorFileNotFound = 209,
    ErrorFileSlotOutOfRange = 210,
    ErrorBoxOutsideWindow = 222,
    ErrorNegativeWindowPosition = 223,  // the text says size; it is raised for a position
    ErrorIconMissing = 224,
    ErrorIconNumberOutOfRange = 225,
    ErrorBitmapNotLoadable = 228,
    ErrorBitmapNotSaved = 229,
    ErrorCursorNumberOutOfRange = 230,
    ErrorPrintingImpossible = 235,
    ErrorNeedsAWindow = 237,
    ErrorTextTooLongForArea = 244,
    ErrorDllNotLoadable = 247,
    ErrorFunctionMissing = 248,
    ErrorMenuNotLoadable = 252,
    ErrorFileNotReadable = 300,
    ErrorFileNotCreatable = 301,
    ErrorWriteFailed = 303,
    ErrorRegistryFailed = 305,
    ErrorOdbcNotInitialised = 500,
    ErrorOdbcFailed = 503,
    ErrorRecordsProcessed = 504,
    ErrorOperationSucceeded = 505,
    ErrorResultFileNotOpened = 506,
    ErrorDatabaseFailed = 600,
    ErrorDatabaseFileNotFound = 601,
    ErrorDuplicateFieldName = 602,
    ErrorInvalidFieldLength = 603,
    ErrorInvalidDecimals = 604,
    ErrorKeyFieldInvalid = 608,
    ErrorTableNumberOutOfRange = 609,
    ErrorFormulaInvalid = 611,
    ErrorFieldToReadMissing = 612,
    ErrorFieldNumberToReadMissing = 613,
    ErrorFieldToWriteMissing = 614,
    ErrorFieldNumberToWriteMissing = 615,
    ErrorIndexFileNameInvalid = 616,
    ErrorInvalidInput = 617,
};

// The fixed message of a code; "" for codes without one.
const char* ErrorText(int32_t code);

// Fatal: returns only at ErrorLevel -1.
void RaiseError(int32_t code, const char* detail = nullptr);
// Non-fatal: returns unless the report ends the program.
void RaiseWarning(int32_t code, const char* detail = nullptr);
