#include "values/error_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ProgramEnded {};

struct Report {
    std::string kind;  // "error" or "warning"
    std::string title;
};

std::vector<Report> Boxes;
bool AnswerOk = true;

class ErrorReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Boxes.clear();
        AnswerOk = true;
        InstallErrorBoxes({[](const char* title) {
                               Boxes.push_back({"error", title});
                           },
                           [](const char* title) {
                               Boxes.push_back({"warning", title});
                               return AnswerOk;
                           },
                           []() -> void { throw ProgramEnded(); }});
    }
    void TearDown() override { ErrorLevel = 1; }
};

}  // namespace

TEST(ErrorText, TableEntriesAndUnknownCodes)
{
    EXPECT_STREQ(ErrorText(210), "Dateinummer nicht im erlaubten Bereich!");
    EXPECT_STREQ(ErrorText(248), "Funktion in DLL nicht vohanden: ");
    EXPECT_STREQ(ErrorText(305), "REGISTRY: ");
    EXPECT_STREQ(ErrorText(617), "Ungültige Eingabe: ");
    EXPECT_STREQ(ErrorText(0), "");
    EXPECT_STREQ(ErrorText(207), "");
    // Windows-1252 bytes, not UTF-8.
    EXPECT_STREQ(ErrorText(223),
                 "Negative Fenstergr\xF6\xDF"
                 "e!");
    EXPECT_STREQ(ErrorText(244), "Der Text pa\xDFt nicht komplett in die Bereichsvariable!");
}

TEST_F(ErrorReportTest, FatalErrorAtEachLevel)
{
    struct Case {
        int32_t level;
        bool shown;
    };
    for (Case c : {Case{-1, false}, Case{-2, true}, Case{0, true}, Case{1, true}, Case{2, true}, Case{3, true}}) {
        Boxes.clear();
        ErrorLevel = c.level;
        if (c.shown) {
            EXPECT_THROW(RaiseError(247, "nix.DLL"), ProgramEnded) << c.level;
            ASSERT_EQ(Boxes.size(), 1u);
            EXPECT_EQ(Boxes[0].kind, "error");
            EXPECT_EQ(Boxes[0].title, "Fehler beim Laden der DLL: nix.DLL");
        } else {
            EXPECT_NO_THROW(RaiseError(247, "nix.DLL"));
            EXPECT_TRUE(Boxes.empty());
        }
    }
}

TEST_F(ErrorReportTest, WarningsSilentAtZeroAndBelow)
{
    for (int32_t level : {-2, -1, 0}) {
        ErrorLevel = level;
        EXPECT_NO_THROW(RaiseWarning(303, "x.ini"));
    }
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ErrorReportTest, WarningAsksAtLevelOneAndAbove)
{
    for (int32_t level : {1, 3}) {
        Boxes.clear();
        ErrorLevel = level;
        AnswerOk = true;
        EXPECT_NO_THROW(RaiseWarning(303, "C:\\x.ini"));
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].kind, "warning");
        EXPECT_EQ(Boxes[0].title, "Fehler beim Schreiben: C:\\x.ini");
    }
}

TEST_F(ErrorReportTest, CancelAtAWarningEndsTheProgram)
{
    AnswerOk = false;
    EXPECT_THROW(RaiseWarning(223), ProgramEnded);
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].kind, "warning");
    EXPECT_EQ(Boxes[0].title, ErrorText(223));
    EXPECT_EQ(Boxes[1].kind, "error");
    EXPECT_EQ(Boxes[1].title, "Programm abgebrochen!");
}

TEST_F(ErrorReportTest, LevelTwoEndsAtTheFirstWarning)
{
    ErrorLevel = 2;
    EXPECT_THROW(RaiseWarning(229, "out.bmp"), ProgramEnded);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].kind, "error");
    EXPECT_EQ(Boxes[0].title, "Bitmap konnte nicht gespeichert werden: out.bmp");
}

TEST_F(ErrorReportTest, UnknownCodeGivesAnEmptyTitle)
{
    EXPECT_THROW(RaiseError(999), ProgramEnded);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].title, "");
}
