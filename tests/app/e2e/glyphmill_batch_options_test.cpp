// The conversion without a window at a chosen width, in colour, and over many pictures:
// the columns asked for, each cell's mean colour with the plain text unchanged, and one
// result per picture exactly as a run with that picture alone gives it.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "batch_run.h"
#include "e2e_session.h"
#include "picture_model.h"

class GlyphmillBatchOptions : public ::testing::Test {
protected:
    void SetUp() override { ForgetSettings(); }
};

namespace {

int CountLines(const std::string& text)
{
    return static_cast<int>(SplitLines(text).size());
}

// The cells of ANSI-coloured output: each character with the colour set before it.
struct ColouredCell {
    char character;
    int red, green, blue;
};

std::vector<std::vector<ColouredCell>> ColouredCells(const std::string& output, std::string& plain)
{
    std::vector<std::vector<ColouredCell>> lines(1);
    int red = -1, green = -1, blue = -1;
    for (size_t i = 0; i < output.size(); ++i) {
        if (output[i] == '\x1b') {
            size_t end = output.find('m', i);
            std::string sequence = output.substr(i, end - i + 1);
            if (sequence == "\x1b[0m")
                red = green = blue = -1;
            else if (std::sscanf(sequence.c_str(), "\x1b[38;2;%d;%d;%dm", &red, &green, &blue) != 3)
                ADD_FAILURE() << "unknown sequence " << sequence.substr(1);
            i = end;
            continue;
        }
        plain += output[i];
        if (output[i] == '\n')
            lines.emplace_back();
        else if (output[i] != '\r')
            lines.back().push_back({output[i], red, green, blue});
    }
    lines.pop_back();
    return lines;
}

}  // namespace

TEST_F(GlyphmillBatchOptions, WidthGivesTheColumnsAskedForKeepingTheAspectRatio)
{
    // scene.bmp is 104 × 60: 48 columns for "4-Pixel (empfohlen)", 13 for the glyph methods.
    struct Case {
        const char* method;
        int columns;
        int rows;  // of a picture 60 × (its new width) / 104 pixels high, as the method scans it
    };
    const Case cases[] = {
        {"4pixel", 8, 4}, {"4pixel", 17, 6}, {"4pixel", 51, 16},   {"4pixel", 250, 73},
        {"exakt", 8, 3},  {"exakt", 33, 11}, {"graustufen", 9, 3}, {"graustufen", 100, 31},
    };
    for (const Case& c : cases) {
        std::string arguments = "--convert " + Quoted(Picture("scene.bmp")) + " --method " + c.method + " --width " +
                                std::to_string(c.columns);
        BatchRun run = RunBatch(arguments);
        ASSERT_EQ(run.exitCode, 0) << arguments << ": " << run.err;
        std::vector<std::string> lines = SplitLines(run.out);
        EXPECT_EQ(static_cast<int>(lines.size()), c.rows) << arguments;
        for (const std::string& line : lines)
            ASSERT_EQ(static_cast<int>(line.size()), c.columns) << arguments;
    }
    // At its own size the picture is converted as without --width.
    for (const char* same : {"--method 4pixel --width 48", "--method exakt --width 13"}) {
        BatchRun with = RunBatch("--convert " + Quoted(Picture("scene.jpg")) + " " + same);
        std::string without = std::string(same).substr(0, std::string(same).find(" --width"));
        EXPECT_EQ(with.out, RunBatch("--convert " + Quoted(Picture("scene.jpg")) + " " + without).out) << same;
        EXPECT_GT(CountLines(with.out), 1) << same;
    }
    EXPECT_EQ(LeftoverTemporaryFolders(), 0);
}

TEST_F(GlyphmillBatchOptions, ManyPicturesEachAsIfAloneWithProgressAndTheWorstExitCode)
{
    std::string many = OutputFolder() + "\\many";
    std::string results = OutputFolder() + "\\many-results";
    CreateDirectoryA(many.c_str(), nullptr);
    for (const char* name : {"scene.bmp", "scene.gif", "scene.jpg"})
        CopyFileA(Picture(name).c_str(), (many + "\\" + name).c_str(), FALSE);
    HANDLE broken = CreateFileA((many + "\\kaputt.gif").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(broken, "GIF89a", 6, &written, nullptr);
    CloseHandle(broken);
    for (const char* name : {"kaputt.txt", "scene.txt", "scene-2.txt", "scene-3.txt"})
        DeleteFileA((results + "\\" + name).c_str());

    // *.gif gives kaputt.gif and scene.gif, in name order; the later scenes get -2 and -3.
    BatchRun run = RunBatch("--convert " + Quoted(many + "\\*.gif") + " " + Quoted(many + "\\scene.bmp") + " " +
                            Quoted(many + "\\*.JPG") + " --out-dir " + Quoted(results) + " --method graustufen");
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_EQ(run.out, "");
    for (const char* line :
         {"/4] scene.gif -> scene.txt", "/4] scene.bmp -> scene-2.txt", "/4] scene.jpg -> scene-3.txt",
          "/4] kaputt.gif: ", "4 Bilder: 3 umgewandelt, 1 fehlgeschlagen."})
        EXPECT_NE(run.err.find(line), std::string::npos) << line << " in\n" << run.err;
    for (int finished = 1; finished <= 4; ++finished)
        EXPECT_NE(run.err.find("[" + std::to_string(finished) + "/4] "), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(results + "\\kaputt.txt"));
    const std::pair<const char*, const char*> alone[] = {
        {"scene.gif", "scene.txt"}, {"scene.bmp", "scene-2.txt"}, {"scene.jpg", "scene-3.txt"}};
    for (const auto& [picture, result] : alone) {
        BatchRun single = RunBatch("--convert " + Quoted(many + "\\" + picture) + " --method graustufen");
        EXPECT_FALSE(single.out.empty());
        EXPECT_TRUE(ReadFile(results + "\\" + result) == single.out) << result;
    }
    // Wildcards that match several pictures need a folder.
    BatchRun several = RunBatch("--convert " + Quoted(many + "\\*.gif"));
    EXPECT_EQ(several.exitCode, 1);
    EXPECT_NE(several.err.find("--out-dir"), std::string::npos) << several.err;
    EXPECT_EQ(LeftoverTemporaryFolders(), 0);
}

TEST_F(GlyphmillBatchOptions, ColourIsEachCellsMeanColourAndTheTextStaysThePlainText)
{
    for (const char* method : {"4pixel", "exakt", "graustufen"}) {
        for (const char* name : {"solid.bmp", "halves.bmp", "shade.bmp"}) {
            std::string arguments = "--convert " + Quoted(Picture(name)) + " --method " + method;
            SCOPED_TRACE(arguments);
            BatchRun coloured = RunBatch(arguments + " --color");
            ASSERT_EQ(coloured.exitCode, 0) << coloured.err;
            std::string text;
            std::vector<std::vector<ColouredCell>> cells = ColouredCells(coloured.out, text);
            BatchRun plain = RunBatch(arguments);
            EXPECT_EQ(text, plain.out) << "exit code " << plain.exitCode << ", " << plain.err;
            ASSERT_GT(cells.size(), 1u);
            for (const std::vector<ColouredCell>& line : cells) {
                ASSERT_GT(line.size(), 1u);
                const ColouredCell& left = line.front();
                const ColouredCell& right = line.back();
                if (std::string(name) == "solid.bmp") {
                    for (const ColouredCell& cell : line)
                        EXPECT_TRUE(cell.red == 0x33 && cell.green == 0x66 && cell.blue == 0xCC)
                            << cell.red << "," << cell.green << "," << cell.blue;
                } else if (std::string(name) == "halves.bmp") {
                    EXPECT_TRUE(left.red == 0xC0 && left.green == 0x10 && left.blue == 0x10) << left.red;
                    EXPECT_TRUE(right.red == 0x10 && right.green == 0x20 && right.blue == 0xC0) << right.blue;
                } else {
                    EXPECT_TRUE(left.red == left.green && left.green == left.blue && left.red == right.red)
                        << "a row of the vertical grey gradient is one grey";
                }
            }
            if (std::string(name) == "shade.bmp") {
                EXPECT_GT(cells.front().front().red, 200) << "white at the top";
                EXPECT_LT(cells.back().front().red, 55) << "black at the bottom";
                for (size_t row = 1; row < cells.size(); ++row)
                    EXPECT_LT(cells[row].front().red, cells[row - 1].front().red) << "row " << row;
            }
        }
    }
}

TEST_F(GlyphmillBatchOptions, ColouredBitmapDrawsEachGlyphInItsCellsColourOnWhite)
{
    std::string plainPath = OutputFolder() + "\\plain-glyphs.bmp";
    std::string colouredPath = OutputFolder() + "\\coloured-glyphs.bmp";
    std::string arguments = "--convert " + Quoted(Picture("halves.bmp")) + " --method exakt --out ";
    ASSERT_EQ(RunBatch(arguments + Quoted(plainPath)).exitCode, 0);
    ASSERT_EQ(RunBatch(arguments + Quoted(colouredPath) + " --color").exitCode, 0);
    PixelImage plain = LoadBitmapFile(plainPath);
    PixelImage coloured = LoadBitmapFile(colouredPath);
    ASSERT_EQ(coloured.width, plain.width);
    ASSERT_EQ(coloured.height, plain.height);
    ASSERT_EQ(plain.width, 64);
    int inked = 0;
    for (int y = 0; y < plain.height; ++y)
        for (int x = 0; x < plain.width; ++x) {
            uint32_t cell = x < 32 ? 0x1010C0 : 0xC02010;  // colour values: red in bits 0-7
            uint32_t expected = plain.At(x, y) == 0xFFFFFF ? 0xFFFFFF : (plain.At(x, y) | cell);
            ASSERT_EQ(coloured.At(x, y), expected) << x << "," << y;
            inked += plain.At(x, y) == 0;
        }
    EXPECT_GT(inked, 50);
}

TEST_F(GlyphmillBatchOptions, ColouredPageOfTheSaveMenuIsTheOneOfTheCommandLine)
{
    Session session;
    ASSERT_TRUE(session.ready);
    ASSERT_TRUE(session.Load(Picture("halves.bmp")));
    ASSERT_TRUE(session.Choose("Exakt", nullptr, 128));
    ASSERT_TRUE(session.Convert());
    std::string saved = OutputFolder() + "\\window-coloured.htm";
    std::string written = OutputFolder() + "\\batch-coloured.htm";
    DeleteFileA(written.c_str());
    ASSERT_TRUE(session.Save(MenuColouredHtmlPlus2, saved));
    EXPECT_EQ(session.Quit(), 0);
    BatchRun run = RunBatch("--convert " + Quoted(Picture("halves.bmp")) +
                            " --method exakt --color --fontsize 2 --out " + Quoted(written));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string page = ReadFile(saved);
    EXPECT_NE(page.find("<span style=\"color:#c01010\">"), std::string::npos) << page;
    EXPECT_NE(page.find("<font size='2'>"), std::string::npos) << page;
    EXPECT_TRUE(page == ReadFile(written));
}
