#include <windows.h>
#include <commctrl.h>

#include "core/startup.h"
#include "main_program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The toolbar's image lists and the common controls' window classes live in COMCTL32.
    // The program calls it by name, which would load and free it around every call;
    // importing it keeps it loaded for the whole run.
    InitCommonControls();
    return RunRuntime(instance, MainScript);
}
