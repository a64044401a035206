#pragma once
// The toolbar with the six command buttons. Script procedures: arguments in ProcArgs 1..n,
// result in ProcArgs 0.

void TbCreate();  // large-images flag, text flag → the toolbar handle
void TbStyle();
void TbLayout();         // large-images flag, text flag
void TbEnableButton();   // command id 1500 … 1505
void TbDisableButton();  // command id
void TbDestroy();
void TbFreeBuffers();
void TbAddString();     // text
void TbInsertButton();  // image, command, style, state, string
