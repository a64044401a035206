#include "error_report.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int32_t ErrorLevel = 1;

namespace {

struct MessageEntry {
    int32_t code;
    const char* text;
};

constexpr MessageEntry MessageTable[] = {
    {202, "Falscher Typ für @DTOC$ !"},
    {203, "Falscher Typ für @CTOD$ !"},
    {204, "String-Index ist < 1 !"},
    {205, "Substring-Nr ist < 1 !"},
    {206, "So viele Elemente sind nicht da!"},
    {208, "Kommandozeilenparameter fehlt!"},
    {209, "Datei nicht gefunden: "},
    {210, "Dateinummer nicht im erlaubten Bereich!"},
    {222, "Box nicht innerhalb des Fensters!"},
    {223, "Negative Fenstergröße!"},
    {224, "ICON nicht vorhanden: "},
    {225, "ICON nicht vorhanden! (Nur 0..4)"},
    {228, "Bitmap nicht ladbar: "},
    {229, "Bitmap konnte nicht gespeichert werden: "},
    {230, "Cursor nicht vorhanden! (Nur 0..11)"},
    {235, "Drucken ist nicht möglich!"},
    {237, "Der Befehl setzt ein Fenster vorraus!"},
    {244, "Der Text paßt nicht komplett in die Bereichsvariable!"},
    {247, "Fehler beim Laden der DLL: "},
    {248, "Funktion in DLL nicht vohanden: "},
    {252, "Menü ist nicht ladbar: "},
    {300, "Datei kann nicht gelesen werden: "},
    {301, "Datei kann nicht erzeugt werden: "},
    {303, "Fehler beim Schreiben: "},
    {305, "REGISTRY: "},
    {500, "ODBC ist nicht initialisiert!"},
    {503, "ODBC-Fehler"},
    {504, " Sätze bearbeitet!"},
    {505, "Operation erfolgreich!"},
    {506, "Ergebnisdatei kann nicht geöffnet werden!"},
    {600, "dB-Fehler: "},
    {601, "Datei nicht gefunden: "},
    {602, "Doppelter Feldname: "},
    {603, "Ungültige Feldlänge: "},
    {604, "Ungültige Dezimalstellen: "},
    {608, "Schlüsselfeld nicht in Ordnung: "},
    {609, "Tabellennummer nicht im erlaubten Bereich!"},
    {611, "Formel nicht in Ordnung: "},
    {612, "Feld beim Lesen nicht gefunden: "},
    {613, "Feldnummer beim Lesen nicht gefunden: "},
    {614, "Feld zum Schreiben nicht gefunden: "},
    {615, "Feldnummer zum Schreiben nicht gefunden: "},
    {616, "Index-Dateiname fehlerhaft: "},
    {617, "Ungültige Eingabe: "},
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
