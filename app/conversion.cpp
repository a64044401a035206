#include "conversion.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app_globals.h"
#include "cell_colours.h"
#include "exact_kernel.h"
#include "values/number_text.h"
#include "values/string_functions.h"

int32_t CellX = 0;
int32_t CellY = 0;
int32_t ScanWidth = 0;
int32_t ScanHeight = 0;
int32_t CandidateIndex = 0;
int32_t BestDistance = 0;
int32_t BestPosition = 0;
double CellsLeft = 0.0;
double CellsPerPercent = 0.0;
ScriptString CurrentLine;

namespace {

constexpr int32_t FarAway = ExactGlyphTable::FarAway;

using GlyphImage = std::array<uint32_t, GlyphPixelCount>;  // row by row, as read
ExactGlyphTable GlyphTable;
std::array<int32_t, GlyphCount + 1> GlyphLevels;  // 1-based, as the character positions

// Truncation toward zero; values that no 32-bit integer holds (and NaN) saturate instead
// of being undefined.
int32_t Truncate(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t RedLevel(uint32_t colour)
{
    return static_cast<int32_t>(colour & 0xFF);
}

void AppendRange(ScriptString& text, int from, int downTo)
{
    for (int code = from; code >= downTo; --code)
        text.AppendChar(static_cast<char>(code));
}

// Draws each candidate's glyph and keeps its pixels and mean red level.
void ReadGlyphTables(ConversionHost& host, const ScriptString& charset)
{
    for (CandidateIndex = 1; CandidateIndex <= GlyphCount; ++CandidateIndex) {
        host.DrawGlyph(charset[static_cast<uint32_t>(CandidateIndex - 1)]);
        GlyphImage glyph;
        host.ReadPixels(0, 0, GlyphWidth, GlyphHeight, glyph.data());
        GlyphTable.Set(CandidateIndex - 1, glyph.data());
        int32_t sum = 0;
        for (uint32_t colour : glyph)
            sum += RedLevel(colour);
        GlyphLevels[static_cast<size_t>(CandidateIndex)] = sum / GlyphPixelCount;
    }
    CandidateIndex = 0;
}

// After every cell: move on, show the progress, and stop the scan early on "Abbrechen".
void ProgressStep(ConversionHost& host, int32_t cellWidth)
{
    CellsLeft -= 1.0;
    CellX += cellWidth;
    host.ShowProgress(Truncate(100.0 - CellsLeft / CellsPerPercent));
    if (host.CancelRequested()) {
        CellY = ScanHeight - 1;
        CellX = ScanWidth;
        host.ShowProgress(0);
    }
}

void EndRow(ConversionHost& host, int32_t cellHeight)
{
    CellX = 0;
    CurrentLine.Append(CRLF);
    TextBuffer.AppendLine(CurrentLine);
    host.ShowText(TextBuffer.Text());
    CurrentLine.Assign("");
    CellY += cellHeight;
}

// Evaluates every cell of the scanned area, row by row; `evaluate` returns the character
// of the cell at (CellX, CellY).
template <typename Evaluate>
void ScanCells(ConversionHost& host, int32_t cellWidth, int32_t cellHeight, Evaluate evaluate)
{
    while (CellY < ScanHeight) {
        while (CellX < ScanWidth) {
            CurrentLine.AppendChar(evaluate());
            ProgressStep(host, cellWidth);
        }
        EndRow(host, cellHeight);
    }
}

bool DrawPictureForGlyphMethods(ConversionHost& host)
{
    ScanWidth = PictureWidth;
    ScanHeight = PictureHeight;
    if (!host.DrawPictureNatural())
        return false;
    CellsLeft = (ScanHeight * (1.0 / 15.0)) * (ScanWidth * 0.125);
    CellsPerPercent = CellsLeft * 0.01;
    return true;
}

char BestCandidate(const ScriptString& charset, auto distanceTo)
{
    BestDistance = FarAway;
    BestPosition = 1;
    for (int32_t i = 1; i <= GlyphCount; ++i) {
        int32_t distance = distanceTo(i);
        if (distance < BestDistance) {
            BestDistance = distance;
            BestPosition = i;
        }
    }
    return static_cast<char>(charset[static_cast<uint32_t>(BestPosition - 1)]);
}

// The common course of "Exakt" and "Graustufen": the glyph tables, the picture at its own
// size, and for each 8 × 15 cell the character that `choose` picks from its pixels.
template <typename Choose>
void ConvertByGlyphs(ConversionHost& host, Choose choose)
{
    ScriptString charset = GlyphCharset();
    ReadGlyphTables(host, charset);
    if (DrawPictureForGlyphMethods(host)) {
        ScanCells(host, GlyphWidth, GlyphHeight, [&] {
            GlyphImage cell;
            host.ReadPixels(CellX, CellY, GlyphWidth, GlyphHeight, cell.data());
            return choose(charset, cell);
        });
    }
    FinishConversion(host);
}

}  // namespace

ScriptString FourPixelCharset()
{
    ScriptString charset(" `\xB4");
    charset.Append(StrChar(34));
    charset.Append(".)/F,\\(4_LJN");
    return charset;
}

ScriptString GlyphCharset()
{
    ScriptString stored;
    stored.AppendChar('\x92');
    AppendRange(stored, 0xFF, 0xE6);
    stored.AppendChar('\xD1');
    stored.AppendChar(' ');
    AppendRange(stored, 0xE5, 0xD2);
    AppendRange(stored, 0xD0, 0xA1);
    stored.AppendChar('\x91');
    AppendRange(stored, 0x7E, 0x28);
    AppendRange(stored, 0x26, 0x23);
    stored.AppendChar('!');
    stored.AppendChar('\'');
    return stored + StrChar(34);
}

void ResetConversionState()
{
    TextBuffer.Clear();
    TextColours.clear();
    CellX = 0;
    CellY = 0;
    CandidateIndex = 0;
    BestDistance = 0;
    BestPosition = 0;
    CellsLeft = 0.0;
    CurrentLine.Assign("");
}

void ConvertFourPixel(ConversionHost& host)
{
    int32_t darkThreshold = 256 - host.SliderPosition();
    ScriptString charset = FourPixelCharset();
    CandidateIndex = 0;
    host.ReadPictureSize();
    ScanWidth = PictureWidth - 8;
    if (host.HalfHeightChecked())
        ScanHeight = Truncate(PictureHeight * 0.5);
    if (host.OriginalHeightChecked())
        ScanHeight = PictureHeight;
    if (ScanWidth > 500) {
        double scale = ScanWidth * 0.002;
        ScanWidth = Truncate(ScanWidth / scale);
        ScanHeight = Truncate(ScanHeight / scale);
    }
    if (!host.DrawPictureStretched(ScanWidth, ScanHeight)) {
        FinishConversion(host);
        return;
    }
    CellsLeft = (ScanHeight * 0.5) * (ScanWidth * 0.5);
    CellsPerPercent = CellsLeft * 0.01;

    ScanCells(host, 2, 2, [&] {
        std::array<uint32_t, 4> cell;
        host.ReadPixels(CellX, CellY, 2, 2, cell.data());
        int32_t pattern = 0;
        for (uint32_t colour : cell) {
            if (RedLevel(colour) < darkThreshold)
                pattern |= 1 << CandidateIndex;
            ++CandidateIndex;
        }
        CandidateIndex = 0;
        return static_cast<char>(charset[static_cast<uint32_t>(pattern)]);
    });
    FinishConversion(host);
}

void ConvertGreyscale(ConversionHost& host)
{
    int32_t brightnessOffset = host.SliderPosition() - 128;
    ConvertByGlyphs(host, [&](const ScriptString& charset, const GlyphImage& cell) {
        int32_t sum = 0;
        for (uint32_t colour : cell)
            sum += RedLevel(colour) + brightnessOffset;
        int32_t level = sum / GlyphPixelCount;
        return BestCandidate(charset, [&](int32_t i) { return std::abs(level - GlyphLevels[static_cast<size_t>(i)]); });
    });
}

void ConvertExact(ConversionHost& host)
{
    ConvertByGlyphs(host, [](const ScriptString& charset, const GlyphImage& cell) {
        GlyphMatch best = GlyphTable.Nearest(cell.data());
        BestDistance = best.distance;
        BestPosition = best.position + 1;
        return static_cast<char>(charset[static_cast<uint32_t>(best.position)]);
    });
}

void FinishConversion(ConversionHost& host)
{
    host.CompleteText();
    host.UnlockControls();
    host.ShowProgress(0);
    PictureBaseName = BaseNameOf(PictureFile);
}

ScriptString BaseNameOf(ScriptString path)
{
    ScriptString reversed;
    for (ScriptString rest = path; StrLength(rest) > 0; rest = StrDelete(rest, StrLength(rest), 1))
        reversed.Append(StrRight(rest, 1));
    int32_t folderLength = StrLength(path) - StrLength(StrField(reversed, 1, "\\"));
    ScriptString name = path;
    for (int32_t i = 0; i < folderLength; ++i)
        name = StrDelete(name, 1, 1);
    return StrField(name, 1, ".");
}
