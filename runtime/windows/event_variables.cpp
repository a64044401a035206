#include "event_variables.h"

std::atomic<int32_t> MenuCommand{0};
std::atomic<int32_t> EventKind{0};
std::atomic<int32_t> KeyCode{0};
std::atomic<int32_t> ClickX{0};
std::atomic<int32_t> ClickY{0};
std::atomic<int32_t> MouseButton{0};
std::atomic<int32_t> LastButton{0};
std::atomic<int32_t> TabChanged{0};
std::atomic<HWND> TabControl{nullptr};
std::atomic<INT_PTR> FocusWindow{0};
std::atomic<int32_t> ClientWidth{0};
std::atomic<int32_t> ClientHeight{0};

int32_t MenuItemChosen(int32_t id)
{
    return MenuCommand.load() == id ? 1 : 0;
}
