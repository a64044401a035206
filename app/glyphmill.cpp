#include <windows.h>

#include "core/startup.h"
#include "main_program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunRuntime(instance, MainScript);
}
