#include "popup_menu.h"

#include "core/command_channel.h"
#include "core/request_records.h"
#include "event_variables.h"

std::array<HMENU, MenuTableSlots> MenuTable{};

void ShowPopupMenu(int32_t x, int32_t y)
{
    MenuCommand.exchange(0);
    PopupMenuRequest request = {x, y};
    PostGuiRequest(ReqPopupMenu, &request);
    DestroyMenu(MenuTable[0]);
    MenuTable[0] = nullptr;
}
