#include "window_runtime.h"

#include <windows.h>

#include "core/runtime_settings.h"
#include "core/runtime_state.h"
#include "event_variables.h"
#include "main_window_procedure.h"
#include "popup_menu.h"
#include "template_dialogs.h"
#include "text_font_state.h"
#include "text_output.h"
#include "values/error_boxes.h"
#include "window_classes.h"
#include "window_settings.h"

namespace {

void ResetEventVariables()
{
    MenuCommand.exchange(0);
    EventKind.exchange(0);
    KeyCode.exchange(0);
    ClickX.exchange(0);
    ClickY.exchange(0);
    MouseButton.exchange(0);
    LastButton.exchange(0);
    TabChanged.exchange(0);
    TabControl.exchange(nullptr);
    FocusWindow.exchange(0);
    ClientWidth.exchange(0);
    ClientHeight.exchange(0);
    DialogResult.exchange(0);
}

BOOL CALLBACK DestroyLeftWindow(HWND window, LPARAM)
{
    if (window != CommandWindow)
        DestroyWindow(window);
    return TRUE;
}

}  // namespace

bool InitialiseWindowRuntime()
{
    InputArrived = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    InputAwaited.store(false);
    ActiveDialog.store(nullptr);
    MainWindow.store(nullptr);
    ResetWindowSettings();
    ResetRuntimeSettings();
    ResetEventVariables();
    MenuTable.fill(nullptr);
    InitialiseTextOutput();
    InstallMessageBoxErrorBoxes();
    return RegisterWindowClasses();
}

void CleanupWindowRuntime()
{
    // The process ends after this; a runtime started again in the same process must not
    // find the old windows.
    SetMainWindowShutdown(true);
    EnumThreadWindows(GetCurrentThreadId(), DestroyLeftWindow, 0);
    SetMainWindowShutdown(false);
    MainWindow.store(nullptr);
    ActiveDialog.store(nullptr);
    CloseHandle(InputArrived);
    InputArrived = nullptr;
    if (CurrentFont) {
        DeleteObject(CurrentFont);
        CurrentFont = nullptr;
    }
    LineList.clear();
    UnregisterWindowClasses();
}
