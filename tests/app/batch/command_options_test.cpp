// The command line's words become a window start, a conversion without a window with its
// options, the usage, or a refusal with a German reason.

#include "batch/command_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

struct Refusal {
    Words words;
    const char* reason;
};

// Each of `cases` is refused with its reason, told in a box for a window start (`inWindow`),
// else on standard error.
void ExpectRefused(const std::vector<Refusal>& cases, bool inWindow)
{
    for (const Refusal& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        CommandOptions options = ParseCommandLine(c.words);
        EXPECT_EQ(options.mode, RunMode::Invalid);
        EXPECT_NE(options.error.find(c.reason), std::string::npos) << options.error;
        EXPECT_EQ(options.inWindow, inWindow);
    }
}

TEST(CommandOptions, WindowStartsWithOrWithoutAPicture)
{
    CommandOptions none = ParseCommandLine({});
    EXPECT_EQ(none.mode, RunMode::Window);
    EXPECT_EQ(none.picture, "");

    CommandOptions picture = ParseCommandLine({"C:\\Bilder\\mit Leerzeichen.gif"});
    EXPECT_EQ(picture.mode, RunMode::Window);
    EXPECT_EQ(picture.picture, "C:\\Bilder\\mit Leerzeichen.gif");

    // "Open with" on several pictures: the first is loaded.
    CommandOptions several = ParseCommandLine({"a.gif", "b.pcx", "c.bmp"});
    EXPECT_EQ(several.mode, RunMode::Window);
    EXPECT_EQ(several.picture, "a.gif");

    // A path beginning with "/" is not mistaken for a switch.
    EXPECT_EQ(ParseCommandLine({"/tmp/bild.bmp"}).picture, "/tmp/bild.bmp");
}

TEST(CommandOptions, ConversionTakesItsOptionsInAnyOrderAndSpelling)
{
    struct Case {
        Words words;
        BatchMethod method;
        bool halfHeight;
        int32_t brightness;
        OutputForm form;
        int32_t fontSize;
    };
    const Case cases[] = {
        {{"--convert", "a.bmp"}, BatchMethod::FourPixel, true, 128, OutputForm::Console, 0},
        {{"/convert", "a.bmp", "/method", "Exakt"}, BatchMethod::Exact, true, 128, OutputForm::Console, 0},
        {{"--method", "GRAUSTUFEN", "--convert", "a.bmp", "--brightness", "32"},
         BatchMethod::Greyscale,
         true,
         32,
         OutputForm::Console,
         0},
        {{"--convert", "a.bmp", "--height", "original", "--brightness", "+224", "--out", "x.TXT"},
         BatchMethod::FourPixel,
         false,
         224,
         OutputForm::Text,
         0},
        {{"--convert", "a.bmp", "--out", "x.html", "--fontsize", "-3"},
         BatchMethod::FourPixel,
         true,
         128,
         OutputForm::Html,
         -3},
        {{"--CONVERT", "a.bmp", "--out", "C:\\a.b\\x.htm", "--fontsize", "+3"},
         BatchMethod::FourPixel,
         true,
         128,
         OutputForm::Html,
         3},
        {{"--convert", "a.bmp", "--out", "x.bmp", "--height", "half"},
         BatchMethod::FourPixel,
         true,
         128,
         OutputForm::Bitmap,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        CommandOptions options = ParseCommandLine(c.words);
        ASSERT_EQ(options.mode, RunMode::Convert) << options.error;
        EXPECT_EQ(options.picture, "a.bmp");
        EXPECT_EQ(options.method, c.method);
        EXPECT_EQ(options.halfHeight, c.halfHeight);
        EXPECT_EQ(options.brightness, c.brightness);
        EXPECT_EQ(options.form, c.form);
        EXPECT_EQ(options.fontSize, c.fontSize);
    }
}

TEST(CommandOptions, ManyPicturesWidthAndColour)
{
    CommandOptions many = ParseCommandLine(
        {"--convert", "a.bmp", "*.jpg", "/tmp/b.gif", "--out-dir", "D:\\x", "--format", "HTM", "--fontsize", "2"});
    ASSERT_EQ(many.mode, RunMode::Convert) << many.error;
    EXPECT_EQ(many.pictures, (Words{"a.bmp", "*.jpg", "/tmp/b.gif"}));
    EXPECT_EQ(many.picture, "a.bmp");
    EXPECT_EQ(many.outputFolder, "D:\\x");
    EXPECT_EQ(many.form, OutputForm::Html);
    EXPECT_EQ(many.fontSize, 2);
    EXPECT_FALSE(many.colour);
    EXPECT_EQ(many.columns, 0);

    EXPECT_EQ(ParseCommandLine({"--convert", "a.bmp", "--out-dir", "d"}).form, OutputForm::Text);
    CommandOptions wide = ParseCommandLine({"--color", "--convert", "a.bmp", "--width", "1000", "--method", "exakt"});
    ASSERT_EQ(wide.mode, RunMode::Convert) << wide.error;
    EXPECT_EQ(wide.columns, 1000);
    EXPECT_TRUE(wide.colour);
    EXPECT_EQ(wide.form, OutputForm::Console);
    EXPECT_EQ(ParseCommandLine({"--convert", "a.bmp", "--width", "250"}).columns, 250);
}

TEST(CommandOptions, HelpWinsWhereverItStands)
{
    for (const Words& words : {Words{"--help"}, Words{"/?"}, Words{"/HELP"}, Words{"--convert", "a.bmp", "--help"},
                               Words{"--convert", "a.bmp", "--brightness", "999", "--help"}})
        EXPECT_EQ(ParseCommandLine(words).mode, RunMode::Help) << testing::PrintToString(words);
}

TEST(CommandOptions, BadWordsAreRefusedWithTheirReason)
{
    ExpectRefused(
        {
            {{"--convert"}, "Nach \"--convert\" fehlt ein Wert"},
            {{"--convert", ""}, "fehlt das Bild"},
            {{"--convert", "a.bmp", "b.bmp"}, "Mehrere Bilder brauchen --out-dir"},
            {{"--convert", "a.bmp", "b.bmp", "--out", "x.txt"}, "Mehrere Bilder brauchen --out-dir"},
            {{"--convert", "a.bmp", "--method", "exakt", "b.bmp"}, "Unerwartetes Argument \"b.bmp\""},
            {{"--convert", "a.bmp", "--out", "x.txt", "--out-dir", "d"}, "schließen einander aus"},
            {{"--convert", "a.bmp", "--format", "htm"}, "--format gilt nur zusammen mit --out-dir"},
            {{"--convert", "a.bmp", "--out-dir", "d", "--format", "gif"}, "Unbekannte Form \"gif\""},
            {{"--convert", "a.bmp", "--out-dir", "d", "--fontsize", "1"}, "nur für eine HTML-Ausgabe"},
            {{"--convert", "a.bmp", "--width", "7"}, "8 bis 1000"},
            {{"--convert", "a.bmp", "--width", "1001"}, "8 bis 1000"},
            {{"--convert", "a.bmp", "--width", "251"}, "4pixel ergibt höchstens 250 Spalten"},
            {{"--convert", "a.bmp", "--color", "--out", "x.txt"}, "Eine Textdatei hat keine Farbe"},
            {{"--convert", "a.bmp", "--color", "--out-dir", "d"}, "Eine Textdatei hat keine Farbe"},
            {{"--convert", "a.bmp", "--color", "--color"}, "doppelt angegeben"},
            {{"--convert", "a.bmp", "--colour", "rot"}, "Unbekannte Option \"--colour\""},
            {{"--convert", "a.bmp", "--method", "fein"}, "Unbekannte Methode \"fein\""},
            {{"--convert", "a.bmp", "--method"}, "Nach \"--method\" fehlt ein Wert"},
            {{"--convert", "a.bmp", "--height", "ganz"}, "Unbekannte Höhe \"ganz\""},
            {{"--convert", "a.bmp", "--brightness", "31"}, "32 bis 224"},
            {{"--convert", "a.bmp", "--brightness", "225"}, "32 bis 224"},
            {{"--convert", "a.bmp", "--brightness", "12.5"}, "32 bis 224"},
            {{"--convert", "a.bmp", "--brightness", ""}, "32 bis 224"},
            {{"--convert", "a.bmp", "--brightness", "99999999999"}, "32 bis 224"},
            {{"--convert", "a.bmp", "--out", "x.htm", "--fontsize", "4"}, "-3 bis 3"},
            {{"--convert", "a.bmp", "--out", "x.htm", "--fontsize", "-4"}, "-3 bis 3"},
            {{"--convert", "a.bmp", "--fontsize", "1"}, "nur für eine HTML-Ausgabe"},
            {{"--convert", "a.bmp", "--out", "x.txt", "--fontsize", "1"}, "nur für eine HTML-Ausgabe"},
            {{"--convert", "a.bmp", "--out", "x.doc"}, "muss auf .txt, .htm, .html oder .bmp enden"},
            {{"--convert", "a.bmp", "--out", "txt"}, "muss auf .txt"},
            {{"--convert", "a.bmp", "--out", "C:\\x.txt\\bild"}, "muss auf .txt"},
            {{"--convert", "a.bmp", "--method", "exakt", "/method", "exakt"}, "doppelt angegeben"},
            {{"--convert", "a.bmp", "--convert", "b.bmp"}, "doppelt angegeben"},
        },
        false);
}

// Without --convert the program was started as a window, perhaps from the desktop, where
// nobody reads standard error.
TEST(CommandOptions, BadSwitchesOfAWindowStartAreToldInTheWindowsWay)
{
    ExpectRefused(
        {
            {{"--bogus"}, "Unbekannte Option \"--bogus\""},
            {{"a.bmp", "--out", "x.txt"}, "Die Option \"--out\" gilt nur zusammen mit --convert"},
            {{"a.bmp", "/method", "exakt"}, "Die Option \"/method\" gilt nur zusammen mit --convert"},
            {{"--color", "a.bmp"}, "Die Option \"--color\" gilt nur zusammen mit --convert"},
        },
        true);
}

TEST(CommandOptions, UsageNamesEveryOptionAndExitCode)
{
    std::string usage = UsageText();
    for (const char* part : {"--convert",
                             "--method",
                             "4pixel|exakt|graustufen",
                             "--height",
                             "original|half",
                             "--brightness",
                             "32..224",
                             "--out",
                             "--fontsize",
                             "-3..3",
                             "--help",
                             "--width",
                             "8..1000",
                             "--color",
                             "--out-dir",
                             "--format",
                             "txt|htm|bmp",
                             "Katze-2.txt",
                             "0 erfolgreich",
                             "1 falsche Argumente",
                             "2 Bild nicht lesbar",
                             "3 Ausgabe nicht"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
}

}  // namespace
