#pragma once
// Request codes carried in wParam of GuiRequest. The record that lParam points to is
// described with each code's server.

#include <windows.h>

enum RequestCode : WPARAM {
    ReqCreateMainWindow = 0xA001,
    ReqCreateControl = 0xA002,
    ReqPeekMessage = 0xA003,
    ReqLayoutDialog = 0xA004,
    ReqResourceDialog = 0xA005,
    ReqPopupMenu = 0xA006,
    ReqDestroyWindow = 0xA007,
    ReqFileDialog = 0xA008,
    ReqCreateTabControl = 0xA009,
    ReqPumpMessages = 0xA00A,
    ReqCallFunction = 0xA00B,
    ReqCreateDialogWindow = 0xA00C,
    ReqBrowseFolder = 0xA00D,
    ReqEditBoxDialog = 0xA00E,
    ReqListBoxDialog = 0xA00F,
    ReqInputDialog = 0xA010,
    ReqSleep = 0xA011,
    ReqInputPending = 0xA012,
    ReqSendToAll = 0xA013,
    ReqCustomDialog = 0xA014,
    ReqEnterFastMode = 0xA015,
    ReqLeaveFastMode = 0xA016,
    ReqBeginInputWait = 0xA017,
    ReqEndInputWait = 0xA018,
};
