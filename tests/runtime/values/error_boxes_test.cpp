// Error reports in a running runtime: real message boxes, answered by a helper thread.

#include "values/error_boxes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "support/message_boxes.h"
#include "support/script_runner.h"
#include "values/error_report.h"

namespace {

std::atomic<int> Reached{0};

struct Answer {
    int button;
    SeenBox seen;
    bool appeared = false;
};

// Runs `script` in the runtime while a helper thread answers boxes in order.
int RunAnswering(std::function<void()> script, std::vector<Answer>& answers)
{
    Reached = 0;
    return RunScript(std::move(script), [&answers] {
        for (Answer& a : answers)
            a.appeared = AnswerNextMessageBox(a.button, a.seen);
    });
}

// The one box of `script`, answered with OK: an error box that ends the program once the
// script has reached `reached`.
SeenBox TheEndingBox(std::function<void()> script, int reached)
{
    std::vector<Answer> answers = {{IDOK, {}}};
    EXPECT_EQ(RunAnswering(std::move(script), answers), 0);
    EXPECT_EQ(Reached.load(), reached);
    EXPECT_TRUE(answers[0].appeared);
    EXPECT_FALSE(answers[0].seen.hasCancel);
    return answers[0].seen;
}

}  // namespace

TEST(ErrorBoxes, WarningOkGoesOnAndCancelEndsTheProgram)
{
    std::vector<Answer> answers = {{IDOK, {}}, {IDCANCEL, {}}, {IDOK, {}}};
    int exitCode = RunAnswering(
        [] {
            ErrorLevel = 1;
            RaiseWarning(303, "C:\\glyphmill.ini");
            Reached = 1;
            RaiseWarning(303, "C:\\glyphmill.ini");
            Reached = 2;  // never: Cancel ends the program
        },
        answers);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Reached.load(), 1);
    for (const Answer& a : answers) {
        ASSERT_TRUE(a.appeared);
        EXPECT_EQ(a.seen.body, L"Zeilennummer nicht verfügbar.");
    }
    EXPECT_EQ(answers[0].seen.title, L"Fehler beim Schreiben: C:\\glyphmill.ini");
    EXPECT_TRUE(answers[0].seen.hasCancel);
    EXPECT_EQ(answers[2].seen.title, L"Programm abgebrochen!");
    EXPECT_FALSE(answers[2].seen.hasCancel);
}

TEST(ErrorBoxes, ErrorAtLevelZeroShowsOneBoxAndEnds)
{
    SeenBox box = TheEndingBox(
        [] {
            ErrorLevel = 0;
            RaiseWarning(303, "silent.ini");  // warnings are silent at level 0
            Reached = 1;
            RaiseError(223);
            Reached = 2;
        },
        1);
    // The title's bytes are Windows-1252: shown correctly, umlauts included.
    EXPECT_EQ(box.title, L"Negative Fenstergröße!");
}

TEST(ErrorBoxes, LevelTwoEndsAtAWarning)
{
    SeenBox box = TheEndingBox(
        [] {
            ErrorLevel = 2;
            RaiseWarning(229, "out.bmp");
            Reached = 1;
        },
        0);
    EXPECT_EQ(box.title, L"Bitmap konnte nicht gespeichert werden: out.bmp");
}

TEST(ErrorBoxes, SilentLevelShowsNothing)
{
    std::vector<Answer> answers;
    int exitCode = RunAnswering(
        [] {
            ErrorLevel = -1;
            RaiseError(247, "nix.DLL");
            RaiseWarning(305, "x");
            Reached = 1;
        },
        answers);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Reached.load(), 1);
}
