#include "window_runtime.h"

#include <windows.h>

#include "core/runtime_state.h"
#include "values/error_boxes.h"

bool InitialiseWindowRuntime()
{
    InputArrived = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ActiveDialog.store(nullptr);
    MainWindow.store(nullptr);
    InstallMessageBoxErrorBoxes();
    return true;
}

void CleanupWindowRuntime()
{
    CloseHandle(InputArrived);
    InputArrived = nullptr;
}
