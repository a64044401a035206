#include "error_report.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int32_t ErrorLevel = 1;

namespace {

struct MessageEntry {
    ErrorCode code;
    const char* text;
};

constexpr MessageEntry MessageTable[] = {
    {ErrorWrongTypeForDtoc, "Falscher Typ für @DTOC$ !"},
    {ErrorWrongTypeForCtod, "Falscher Typ für @CTOD$ !"},
    {ErrorStringIndexBelowOne, "String-Index ist < 1 !"},
    {ErrorSubstringNumberBelowOne, "Substring-Nr ist < 1 !"},
    {ErrorTooFewElements, "So viele Elemente sind nicht da!"},
    {ErrorCommandLineParameterMissing, "Kommandozeilenparameter fehlt!"},
    {ErrorFileNotFound, "Datei nicht gefunden: "},
    {ErrorFileSlotOutOfRange, "Dateinummer nicht im erlaubten Bereich!"},
    {ErrorBoxOutsideWindow, "Box nicht innerhalb des Fensters!"},
    {ErrorNegativeWindowPosition, "Negative Fenstergröße!"},
    {ErrorIconMissing, "ICON nicht vorhanden: "},
    {ErrorIconNumberOutOfRange, "ICON nicht vorhanden! (Nur 0..4)"},
    {ErrorBitmapNotLoadable, "Bitmap nicht ladbar: "},
    {ErrorBitmapNotSaved, "Bitmap konnte nicht gespeichert werden: "},
    {ErrorCursorNumberOutOfRange, "Cursor nicht vorhanden! (Nur 0..11)"},
    {ErrorPrintingImpossible, "Drucken ist nicht möglich!"},
    {ErrorNeedsAWindow, "Der Befehl setzt ein Fenster vorraus!"},
    {ErrorTextTooLongForArea, "Der Text paßt nicht komplett in die Bereichsvariable!"},
    {ErrorDllNotLoadable, "Fehler beim Laden der DLL: "},
    {ErrorFunctionMissing, "Funktion in DLL nicht vohanden: "},
    {ErrorMenuNotLoadable, "Menü ist nicht ladbar: "},
    {ErrorFileNotReadable, "Datei kann nicht gelesen werden: "},
    {ErrorFileNotCreatable, "Datei kann nicht erzeugt werden: "},
    {ErrorWriteFailed, "Fehler beim Schreiben: "},
    {ErrorRegistryFailed, "REGISTRY: "},
    {ErrorOdbcNotInitialised, "ODBC ist nicht initialisiert!"},
    {ErrorOdbcFailed, "ODBC-Fehler"},
    {ErrorRecordsProcessed, " Sätze bearbeitet!"},
    {ErrorOperationSucceeded, "Operation erfolgreich!"},
    {ErrorResultFileNotOpened, "Ergebnisdatei kann nicht geöffnet werden!"},
    {ErrorDatabaseFailed, "dB-Fehler: "},
    {ErrorDatabaseFileNotFound, "Datei nicht gefunden: "},
    {ErrorDuplicateFieldName, "Doppelter Feldname: "},
    {ErrorInvalidFieldLength, "Ungültige Feldlänge: "},
    {ErrorInvalidDecimals, "Ungültige Dezimalstellen: "},
    {ErrorKeyFieldInvalid, "Schlüsselfeld nicht in Ordnung: "},
    {ErrorTableNumberOutOfRange, "Tabellennummer nicht im erlaubten Bereich!"},
    {ErrorFormulaInvalid, "Formel nicht in Ordnung: "},
    {ErrorFieldToReadMissing, "Feld beim Lesen nicht gefunden: "},
    {ErrorFieldNumberToReadMissing, "Feldnummer beim Lesen nicht gefunden: "},
    {ErrorFieldToWriteMissing, "Feld zum Schreiben nicht gefunden: "},
    {ErrorFieldNumberToWriteMissing, "Feldnummer zum Schreiben nicht gefunden: "},
    {ErrorIndexFileNameInvalid, "Index-Dateiname fehlerhaft: "},
    {ErrorInvalidInput, "Ungültige Eingabe: "},
};

constexpr const char* CancelledTitle = "Programm abgebrochen!";

// Until the window runtime installs its boxes (native builds, early start-up), reports go
// to standard error and a fatal one ends the process.
void StderrError(const char* title)
{
    std::fprintf(stderr, "%s\n", title);
}

bool StderrAsk(const char* title)
{
    std::fprintf(stderr, "%s\n", title);
    return true;
}

[[noreturn]] void ExitProcessEnd()
{
    std::exit(1);
}

ErrorBoxes Boxes = {StderrError, StderrAsk, ExitProcessEnd};

std::string BuildMessage(int32_t code, const char* detail)
{
    std::string message = ErrorText(code);
    if (detail)
        message += detail;
    return message;
}

[[noreturn]] void ShowErrorAndEnd(const std::string& message)
{
    Boxes.showError(message.c_str());
    Boxes.endProgram();
}

}  // namespace

void InstallErrorBoxes(const ErrorBoxes& boxes)
{
    Boxes = boxes;
}

const char* ErrorText(int32_t code)
{
    for (const MessageEntry& entry : MessageTable) {
        if (entry.code == code)
            return entry.text;
    }
    return "";
}

void RaiseError(int32_t code, const char* detail)
{
    if (ErrorLevel == -1)
        return;
    ShowErrorAndEnd(BuildMessage(code, detail));
}

void RaiseWarning(int32_t code, const char* detail)
{
    if (ErrorLevel <= 0)
        return;
    std::string message = BuildMessage(code, detail);
    if (ErrorLevel == 2)
        ShowErrorAndEnd(message);
    if (Boxes.askToContinue(message.c_str()))
        return;
    ShowErrorAndEnd(CancelledTitle);
}
