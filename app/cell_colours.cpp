#include "cell_colours.h"

#include <algorithm>
#include <cstdio>

std::vector<uint32_t> TextColours;

namespace {

uint32_t Channel(uint32_t colour, int channel)
{
    return (colour >> (8 * channel)) & 0xFF;
}

void AppendEscaped(std::string& out, char c)
{
    switch (c) {
    case '<':
        out += "&lt;";
        break;
    case '>':
        out += "&gt;";
        break;
    case '&':
        out += "&amp;";
        break;
    default:
        out += c;
    }
}

// Calls begin(colour) before each run of one colour within a line, character(c) for each
// character, and end(lineEnds) after each run; line ends (CR LF) are appended after that.
template <typename Begin, typename Character, typename End>
std::string ColourRuns(const ResultText& text, const std::vector<uint32_t>& colours, Begin begin, Character character,
                       End end)
{
    std::string out;
    size_t cell = 0;
    bool inRun = false;
    uint32_t runColour = 0;
    for (uint32_t i = 0; i < text.Length(); ++i) {
        char c = static_cast<char>(text[i]);
        if (c == '\r' || c == '\n') {
            if (inRun)
                end(out, true);
            inRun = false;
            out += c;
            continue;
        }
        uint32_t colour = cell < colours.size() ? colours[cell] : 0;
        ++cell;
        if (inRun && colour != runColour)
            end(out, false);
        if (!inRun || colour != runColour)
            begin(out, colour);
        inRun = true;
        runColour = colour;
        character(out, c);
    }
    if (inRun)
        end(out, true);
    return out;
}

}  // namespace

uint32_t MeanColour(const uint32_t* colours, size_t count)
{
    if (count == 0)
        return 0;
    // Summed in 32 bits, which hold 2^24 pixels' worth of a channel, so that the loop is
    // vectorised.
    constexpr size_t PixelsPer32BitSum = size_t{1} << 24;
    uint64_t sums[3] = {0, 0, 0};
    for (size_t start = 0; start < count; start += PixelsPer32BitSum) {
        const size_t end = std::min(count, start + PixelsPer32BitSum);
        uint32_t red = 0, green = 0, blue = 0;
        for (size_t i = start; i < end; ++i) {
            red += Channel(colours[i], 0);
            green += Channel(colours[i], 1);
            blue += Channel(colours[i], 2);
        }
        sums[0] += red;
        sums[1] += green;
        sums[2] += blue;
    }
    uint32_t mean = 0;
    for (int channel = 0; channel < 3; ++channel)
        mean |= static_cast<uint32_t>((sums[channel] + count / 2) / count) << (8 * channel);
    return mean;
}

std::string ColouredHtmlLines(const ResultText& text, const std::vector<uint32_t>& colours)
{
    return ColourRuns(
        text, colours,
        [](std::string& out, uint32_t colour) {
            char span[40];
            std::snprintf(span, sizeof span, "<span style=\"color:#%02x%02x%02x\">", Channel(colour, 0),
                          Channel(colour, 1), Channel(colour, 2));
            out += span;
        },
        AppendEscaped, [](std::string& out, bool) { out += "</span>"; });
}

std::string AnsiColouredLines(const ResultText& text, const std::vector<uint32_t>& colours)
{
    return ColourRuns(
        text, colours,
        [](std::string& out, uint32_t colour) {
            char sequence[32];
            std::snprintf(sequence, sizeof sequence, "\x1b[38;2;%u;%u;%um", Channel(colour, 0), Channel(colour, 1),
                          Channel(colour, 2));
            out += sequence;
        },
        [](std::string& out, char c) { out += c; },
        [](std::string& out, bool lineEnds) {
            if (lineEnds)
                out += "\x1b[0m";
        });
}

std::string HtmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text)
        AppendEscaped(out, c);
    return out;
}
