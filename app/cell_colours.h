#pragma once
// The colour of every character of the result text, kept beside it: the mean colour of the
// picture pixels the method read for the character's cell. Needs no window.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "result_text.h"

// Colour values 0x00BBGGRR (red in bits 0-7), one per character of TextBuffer other than
// the line ends, in the text's order; they grow and are cleared with it.
extern std::vector<uint32_t> TextColours;

// The mean of each channel over `count` colour values, rounded to nearest.
uint32_t MeanColour(const uint32_t* colours, size_t count);

// The HTML page's lines with each run of one colour in a span of that colour, and "<", ">"
// and "&" escaped. Characters without a colour (none should lack one) are black.
std::string ColouredHtmlLines(const ResultText& text, const std::vector<uint32_t>& colours);
// The lines with 24-bit ANSI colour: the colour before each run, a reset at each line end.
std::string AnsiColouredLines(const ResultText& text, const std::vector<uint32_t>& colours);
// `text` with "<", ">" and "&" escaped.
std::string HtmlEscaped(const std::string& text);
