#include "text_font_state.h"

HFONT CurrentFont = nullptr;
std::vector<HFONT> ControlFonts;
int32_t TextAngle = 0;
int32_t TextCharSet = ANSI_CHARSET;
