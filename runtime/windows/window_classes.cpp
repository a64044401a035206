#include "window_classes.h"

#include <windows.h>

#include "core/runtime_state.h"
#include "dialog_procedures.h"
#include "main_window_procedure.h"

namespace {

constexpr int MainWindowExtraBytes = 30;

WNDCLASSA ClassWithIcon(const char* name, WNDPROC procedure, int extraBytes)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = extraBytes;
    windowClass.hInstance = InstanceHandle;
    windowClass.hIcon = LoadIconA(InstanceHandle, "KORVEL");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return windowClass;
}

}  // namespace

bool RegisterWindowClasses()
{
    WNDCLASSA main = ClassWithIcon(MainWindowClass, MainWindowProcedure, MainWindowExtraBytes);
    main.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC | CS_BYTEALIGNWINDOW;
    main.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    WNDCLASSA dialog = ClassWithIcon(DialogWindowClass, DialogWindowProcedure, DLGWINDOWEXTRA);
    dialog.style = CS_CLASSDC;
    dialog.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    return RegisterClassA(&main) != 0 && RegisterClassA(&dialog) != 0;
}

void UnregisterWindowClasses()
{
    UnregisterClassA(MainWindowClass, InstanceHandle);
    UnregisterClassA(DialogWindowClass, InstanceHandle);
}
