#include "error_boxes.h"

#include <windows.h>

#include "core/command_channel.h"
#include "core/runtime_state.h"
#include "error_report.h"

const char* const ReportBoxBody = "Zeilennummer nicht verfügbar.";

namespace {

void ShowErrorBox(const char* title)
{
    MessageBoxA(MainWindow.load(), ReportBoxBody, title, MB_OK | MB_ICONERROR);
}

bool AskToContinue(const char* title)
{
    return MessageBoxA(MainWindow.load(), ReportBoxBody, title, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

}  // namespace

void InstallMessageBoxErrorBoxes()
{
    InstallErrorBoxes({ShowErrorBox, AskToContinue, EndProgram});
}
