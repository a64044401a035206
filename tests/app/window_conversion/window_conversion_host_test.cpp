// What the text field and the progress bar receive from the window's conversion host, as
// sequences of messages against expected tables, on a clock the test sets.

#include "window_conversion/window_conversion_host.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_handles.h"

namespace {

using std::chrono::milliseconds;

// Each change of the field's text takes this long on the test's clock, as a repaint would.
constexpr milliseconds Repaint{20};

std::vector<std::string> Seen;
bool Recording = false;
UpdatePace::Clock::time_point Now;
WNDPROC EditProcedure = nullptr;
WNDPROC ProgressProcedure = nullptr;

std::string Shown(LPARAM text)
{
    std::string shown;
    for (const char* c = reinterpret_cast<const char*>(text); *c; ++c)
        shown += *c == '\r' ? "" : *c == '\n' ? "|" : std::string(1, *c);
    return '"' + shown + '"';
}

std::string Position(WPARAM at)
{
    return at == static_cast<WPARAM>(INT_MAX) ? std::string("end") : std::to_string(at);
}

// The messages the host sends; the controls' own painting and notifications are left out.
std::string Describe(const char* control, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::string name = control;
    switch (message) {
    case PBM_SETPOS:
        return name + " PBM_SETPOS " + std::to_string(wParam);
    case WM_SETTEXT:
        return name + " WM_SETTEXT " + Shown(lParam);
    case EM_REPLACESEL:
        return name + " EM_REPLACESEL " + Shown(lParam);
    case EM_SETSEL:
        return name + " EM_SETSEL " + Position(wParam) + " " + Position(static_cast<WPARAM>(lParam));
    case EM_SETLIMITTEXT:
        return name + " EM_SETLIMITTEXT " + std::to_string(wParam);
    case WM_GETTEXTLENGTH:
        return name + " WM_GETTEXTLENGTH";
    case EM_SCROLLCARET:
        return name + " EM_SCROLLCARET";
    default:
        return "";
    }
}

LRESULT CALLBACK RecordingEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (std::string seen = Describe("field", message, wParam, lParam); Recording && !seen.empty())
        Seen.push_back(seen);
    if (Recording && (message == WM_SETTEXT || message == EM_REPLACESEL))
        Now += Repaint;
    return CallWindowProcA(EditProcedure, window, message, wParam, lParam);
}

LRESULT CALLBACK RecordingProgress(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (std::string seen = Describe("bar", message, wParam, lParam); Recording && !seen.empty())
        Seen.push_back(seen);
    return CallWindowProcA(ProgressProcedure, window, message, wParam, lParam);
}

// Both sequences in full, expected beside seen, the first difference marked.
void ExpectSequence(const std::vector<std::string>& expected, const std::vector<std::string>& seen)
{
    if (seen == expected)
        return;
    std::ostringstream table;
    table << "expected | seen\n";
    bool marked = false;
    for (size_t i = 0; i < std::max(expected.size(), seen.size()); ++i) {
        std::string want = i < expected.size() ? expected[i] : "(nothing)";
        std::string got = i < seen.size() ? seen[i] : "(nothing)";
        bool first = !marked && want != got;
        marked = marked || first;
        table << (first ? "> " : "  ") << want << " | " << got << "\n";
    }
    ADD_FAILURE() << table.str();
}

enum class Act { Progress, Line, Type, Complete };

struct Step {
    int atMs;
    Act act;
    int position = 0;       // Progress
    const char* text = "";  // Line, Type
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> expected;
};

class WindowConversionHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&classes);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
        OutputEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 500,
                                     300, parent_, nullptr, nullptr, nullptr);
        ProgressBar =
            CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 0, 320, 500, 20, parent_, nullptr, nullptr, nullptr);
        EditProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(OutputEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingEdit)));
        ProgressProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(ProgressBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProgress)));
        SendMessageA(OutputEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("the last conversion's text"));
    }

    void TearDown() override
    {
        DestroyWindow(parent_);
        OutputEdit = ProgressBar = nullptr;
    }

    // Runs the steps on a host whose clock stands at each step's time; what the controls got.
    std::vector<std::string> Run(const std::vector<Step>& steps)
    {
        TextBuffer.Clear();
        const auto start = UpdatePace::Clock::time_point{} + std::chrono::hours(1);
        Now = start;
        UpdatePace pace;
        pace.now = [] { return Now; };
        pace.frame = milliseconds(16);
        WindowConversionHost host(pace);
        Seen.clear();
        Recording = true;
        for (const Step& step : steps) {
            Now = start + milliseconds(step.atMs);
            switch (step.act) {
            case Act::Progress:
                host.ShowProgress(step.position);
                break;
            case Act::Line:
                TextBuffer.AppendLine(ScriptString((std::string(step.text) + "\r\n").c_str()));
                host.ShowText(TextBuffer.Text());
                break;
            case Act::Type:
                Recording = false;
                SendMessageA(OutputEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.text));
                Recording = true;
                break;
            case Act::Complete:
                host.CompleteText();
                break;
            }
        }
        Recording = false;
        return Seen;
    }

private:
    HWND parent_ = nullptr;
};

TEST_F(WindowConversionHostTest, ControlsReceiveTheExpectedSequences)
{
    const Case cases[] = {
        // A line every 20 ms and 20 ms a repaint: the field changes every 80 ms.
        {"lines in batches that keep the field changing ten times a second, the first set whole, a slow line at "
         "once, the top shown at the end",
         {{20, Act::Line, 0, "a"},
          {40, Act::Line, 0, "b"},
          {60, Act::Line, 0, "c"},
          {80, Act::Line, 0, "d"},
          {100, Act::Line, 0, "e"},
          {120, Act::Line, 0, "f"},
          {140, Act::Line, 0, "g"},
          {300, Act::Line, 0, "h"},
          {330, Act::Line, 0, "i"},
          {335, Act::Complete}},
         {"field EM_SETLIMITTEXT 0", "field WM_SETTEXT \"a|b|c|\"", "field EM_SETSEL end end",
          "field EM_REPLACESEL \"d|e|f|g|\"", "field EM_SETSEL end end", "field EM_REPLACESEL \"h|\"",
          "field EM_SETSEL end end", "field EM_REPLACESEL \"i|\"", "field WM_GETTEXTLENGTH", "field EM_SETSEL 0 0",
          "field EM_SCROLLCARET"}},
        {"text typed during the run gives way to the result",
         {{60, Act::Line, 0, "a"}, {90, Act::Type, 0, "typed"}, {95, Act::Line, 0, "b"}, {100, Act::Complete}},
         {"field EM_SETLIMITTEXT 0", "field WM_SETTEXT \"a|\"", "field EM_SETSEL end end", "field EM_REPLACESEL \"b|\"",
          "field WM_GETTEXTLENGTH", "field WM_SETTEXT \"a|b|\"", "field EM_SETSEL 0 0", "field EM_SCROLLCARET"}},
        {"no line: the field keeps what it showed", {{10, Act::Complete}}, {}},
        {"the bar at most once a frame and only when it moves; 0 at once; above 100 as 100",
         {{0, Act::Progress, 0},
          {1, Act::Progress, 0},
          {5, Act::Progress, 1},
          {16, Act::Progress, 2},
          {20, Act::Progress, 3},
          {40, Act::Progress, 3},
          {60, Act::Progress, 120},
          {80, Act::Progress, 130},
          {81, Act::Progress, 0},
          {82, Act::Progress, 0}},
         {"bar PBM_SETPOS 0", "bar PBM_SETPOS 2", "bar PBM_SETPOS 3", "bar PBM_SETPOS 120", "bar PBM_SETPOS 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSequence(c.expected, Run(c.steps));
    }
}

}  // namespace
