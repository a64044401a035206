// Times the real program as a user sees it: from posting "Start" until "Start" is enabled
// again, per method and picture; the bitmap export from the save dialog's OK to the file
// being written; how long "Abbrechen" takes to stop a running conversion. Beside each
// conversion it times the same method on the same pixels in memory (the program's conversion
// without a window: the kernel), and it measures what the single operations cost to show
// where the time goes.
//
// "Exakt"'s kernel alone, the choice of each cell's glyph, is timed on both of its paths.
//
// Usage: glyphmill_bench [--runs N] [--cancels N] [--pieces N] [--replay 0|1] [--program FOLDER]
//   --program times the program in FOLDER (a Windows path) instead of the one built beside
//   the benchmark; the in-memory figures stay this build's.

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "kernel_host.h"
#include "pieces.h"
#include "replay_host.h"
#include "picture_model.h"
#include "support/program_driver.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string ProgramFolder = WindowsPath(PROGRAM_FOLDER);
const std::string GlyphFolder = ProgramFolder;  // res.dll of this build
const std::string PictureFolder = WindowsPath(PICTURE_FOLDER);

double Since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Polls every millisecond, so that the figures are not rounded to a coarse poll interval.
template <typename Condition>
bool PollUntil(Condition condition, double timeoutMs)
{
    auto start = Clock::now();
    while (!condition()) {
        if (Since(start) > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}

enum class Method { FourPixel, Exact, Greyscale };

struct Case {
    const char* name;
    const char* picture;
    Method method;
    bool halfHeight;
};

const Case Cases[] = {
    {"640x480 4-Pixel half height", "scene640.bmp", Method::FourPixel, true},
    {"640x480 4-Pixel original height", "scene640.bmp", Method::FourPixel, false},
    {"640x480 Exakt", "scene640.bmp", Method::Exact, false},
    {"640x480 Graustufen", "scene640.bmp", Method::Greyscale, false},
    {"1920x1080 photo (JPEG) Exakt", "photo1920.jpg", Method::Exact, false},
};

class Program {
public:
    bool Start()
    {
        char appData[MAX_PATH] = {};
        SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
        DeleteFileA((std::string(appData) + "\\Glyphmill\\glyphmill.ini").c_str());
        if (!driver.Start(ProgramFolder + "\\glyphmill.exe", "", ProgramFolder))
            return false;
        main = driver.FindTopLevel("FENSTER", nullptr, 20000);
        if (!main || !PollUntil([&] { return driver.ToolbarButtonEnabled(main, 1500); }, 20000))
            return false;
        Sleep(300);
        output = driver.FindChild(main, "Edit");
        return output != nullptr;
    }

    bool Enabled(int command) const { return driver.ToolbarButtonEnabled(main, command); }

    // A command posted while the program is busy is not taken; repeat until it shows.
    template <typename Effect>
    bool Command(int id, Effect effect)
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (!PollUntil([&] { return Enabled(id); }, 20000) || !driver.PressToolbarButton(main, id))
                return false;
            if (PollUntil(effect, 4000))
                return true;
        }
        return false;
    }

    bool Load(const std::string& path)
    {
        return Command(1500, [&] { return driver.FindTopLevel("#32770", main, 0) != nullptr; }) &&
               driver.AnswerFileDialog(main, path) && PollUntil([&] { return Enabled(1502); }, 20000);
    }

    bool Choose(const Case& c)
    {
        const char* radio = c.method == Method::Exact       ? "Exakt"
                            : c.method == Method::Greyscale ? "Graustufen"
                                                            : "4-Pixel (empfohlen)";
        if (!Check(radio))
            return false;
        return c.method != Method::FourPixel || Check(c.halfHeight ? "½-Grafikhöhe" : "Originalhöhe");
    }

    // Posts "Start" and waits for "Start" to be enabled again: the milliseconds in between,
    // or a negative number when the conversion did not run.
    double Convert(double cancelAfterMs = -1, double* cancelLatency = nullptr)
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (!PollUntil([&] { return Enabled(1502); }, 60000))
                return -1;
            Sleep(200);  // the main loop is waiting for input again
            if (!driver.PressToolbarButton(main, 1502))
                return -1;
            auto posted = Clock::now();
            if (!PollUntil([&] { return !Enabled(1502) || Enabled(1503); }, 3000))
                continue;  // not taken
            if (cancelAfterMs >= 0) {
                Sleep(static_cast<DWORD>(cancelAfterMs));
                if (driver.PressToolbarButton(main, 1503)) {
                    auto cancelled = Clock::now();
                    PollUntil([&] { return Enabled(1502); }, 600000);
                    *cancelLatency = Since(cancelled);
                } else {
                    *cancelLatency = -1;  // already finished
                }
            }
            if (!PollUntil([&] { return Enabled(1502); }, 600000))
                return -1;
            return Since(posted);
        }
        return -1;
    }

    // One more conversion, watched: the longest time between two changes of the text field
    // while the conversion runs, and how many changes there were. The polling costs the
    // program's GUI thread a little, so these runs are not among the timed ones.
    std::pair<double, int> WatchTextUpdates()
    {
        if (!PollUntil([&] { return Enabled(1502); }, 60000))
            return {-1, 0};
        Sleep(200);
        SendMessageA(output, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        if (!driver.PressToolbarButton(main, 1502))
            return {-1, 0};
        LRESULT length = 0;
        std::vector<Clock::time_point> changes;
        bool started = false;
        PollUntil(
            [&] {
                LRESULT now = SendMessageA(output, WM_GETTEXTLENGTH, 0, 0);
                if (now != length) {
                    length = now;
                    changes.push_back(Clock::now());
                }
                bool startEnabled = Enabled(1502);
                started = started || !startEnabled;
                return started && startEnabled;
            },
            600000);
        double longest = 0;
        for (size_t i = 1; i < changes.size(); ++i)
            longest = std::max(longest, std::chrono::duration<double, std::milli>(changes[i] - changes[i - 1]).count());
        return {longest, static_cast<int>(changes.size())};
    }

    std::string Output() const
    {
        LRESULT length = SendMessageA(output, WM_GETTEXTLENGTH, 0, 0);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(output, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }

    // "Bild speichern", "als Grafik (BMP)", and the save dialog: milliseconds from posting
    // its OK until the file has all `bytes`.
    double SaveBitmap(const std::string& path, long long bytes)
    {
        DeleteFileA(path.c_str());
        if (!PollUntil([&] { return IsWindowEnabled(main) && Enabled(1501); }, 60000))
            return -1;
        Sleep(200);
        if (!Command(1501, [&] { return driver.FindTopLevel("#32768", nullptr, 0) != nullptr; }) ||
            !driver.SteerPopupMenu({VK_DOWN, VK_RETURN}))
            return -1;
        HWND dialog = driver.FindTopLevel("#32770", main, 10000);
        if (!dialog)
            return -1;
        HWND nameBox = GetDlgItem(dialog, 1148);
        HWND edit = nameBox ? driver.FindChild(nameBox, "Edit") : GetDlgItem(dialog, 1152);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        auto posted = Clock::now();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        bool written = PollUntil(
            [&] {
                WIN32_FILE_ATTRIBUTE_DATA data{};
                return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
                       ((static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) == bytes;
            },
            600000);
        return written ? Since(posted) : -1;
    }

    void Quit()
    {
        Command(1505, [&] { return !driver.Running(); });
        driver.WaitForExit(20000);
    }

    ProgramDriver driver;
    HWND main = nullptr;
    HWND output = nullptr;

private:
    bool Check(const char* text)
    {
        HWND radio = driver.FindChild(main, "Button", text);
        return radio && driver.Click(radio) &&
               PollUntil([&] { return SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 10000);
    }
};

struct Row {
    std::string name;
    int runs;
    double median;
    double kernel;  // NAN when there is none
    std::string breakdown;
};

std::string Describe(const Breakdown& b)
{
    char line[512];
    std::snprintf(line, sizeof line,
                  "    replay with the program's host, pixels in memory: %.0f ms in all; PBM_SETPOS (%d) %.0f ms; "
                  "text updates (%d) %.0f ms + at the end %.0f ms; rest (the method in memory) %.0f ms",
                  b.totalMs, b.progressSends, b.progressMs, b.textSends, b.textMs, b.completeMs,
                  b.totalMs - b.progressMs - b.textMs - b.completeMs);
    return line;
}

const char* Argument(int argc, char** argv, const char* name)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return argv[i + 1];
    return nullptr;
}

int Argument(int argc, char** argv, const char* name, int fallback)
{
    const char* value = Argument(argc, argv, name);
    return value ? std::atoi(value) : fallback;
}

struct KernelRow {
    std::string name;
    KernelTimes times;
};

}  // namespace

int main(int argc, char** argv)
{
    int runs = Argument(argc, argv, "--runs", 3);
    int cancels = Argument(argc, argv, "--cancels", 6);
    int pieceRounds = Argument(argc, argv, "--pieces", 3);
    bool replay = Argument(argc, argv, "--replay", 1) != 0;
    if (const char* program = Argument(argc, argv, "--program"))
        ProgramFolder = WindowsPath(program);
    std::printf("Program: %s\n", ProgramFolder.c_str());

    PieceCosts pieces;
    if (pieceRounds > 0) {
        pieces = MeasurePieces(ProgramFolder, pieceRounds);
        std::printf("Single operations (medians of %d rounds):\n", pieceRounds);
        std::printf(
            "  GetPixel %.3f us; GetDIBits of a 2000 x 15 band %.1f us; PBM_SETPOS %.2f ms (same position %.2f ms); "
            "EM_REPLACESEL of a line %.1f ms;\n  glyph DrawBitmapResource %.3f ms; BitBlt 8 x 15 from an atlas %.2f us;"
            " WM_SETTEXT",
            pieces.getPixelUs, pieces.bandReadUs, pieces.progressMs, pieces.sameProgressMs, pieces.appendMs,
            pieces.glyphLoadMs, pieces.atlasBlitUs);
        for (auto [bytes, ms] : pieces.setTextMs)
            std::printf(" %d B %.1f ms;", bytes, ms);
        std::printf("\n\n");
        std::fflush(stdout);
    }

    Program program;
    if (!program.Start()) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    std::vector<Row> rows;
    std::vector<KernelRow> kernelRows;
    std::string loaded;
    double photoExact = NAN;
    for (const Case& c : Cases) {
        std::string path = PictureFolder + "\\" + c.picture;
        if (loaded != path && !program.Load(path)) {
            std::fprintf(stderr, "%s: not loaded\n", c.picture);
            return 1;
        }
        loaded = path;
        if (!program.Choose(c)) {
            std::fprintf(stderr, "%s: method not chosen\n", c.name);
            return 1;
        }
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            double ms = program.Convert();
            if (ms < 0) {
                std::fprintf(stderr, "%s: the conversion did not run\n", c.name);
                return 1;
            }
            times.push_back(ms);
            std::printf("  %s run %d: %.0f ms\n", c.name, run + 1, ms);
            std::fflush(stdout);
        }
        std::string text = program.Output();
        auto [longestGap, updates] = program.WatchTextUpdates();

        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        // A JPEG is drawn from the BMP file the import made of it.
        std::string drawn = std::string(c.picture).ends_with(".jpg") ? std::string(temp) + "_temp.bmp" : path;
        PixelImage picture = LoadBitmapFile(drawn);
        auto method = c.method == Method::Exact       ? ConvertExact
                      : c.method == Method::Greyscale ? ConvertGreyscale
                                                      : ConvertFourPixel;
        MemoryKernel kernel(drawn, c.halfHeight);
        if (!kernel.picture.pixels) {
            std::fprintf(stderr, "%s: not decoded\n", drawn.c_str());
            return 1;
        }
        ConversionHost& host = kernel.host;
        std::string kernelText = RunKernel(method, host);
        std::vector<double> kernelTimes;
        for (int run = 0; run < runs; ++run) {
            auto start = Clock::now();
            RunKernel(method, host);
            kernelTimes.push_back(Since(start));
        }
        std::string name = c.name;
        if (kernelText != text)
            name += " [text differs from the kernel's, " + std::to_string(picture.width) + "x" +
                    std::to_string(picture.height) + "]";
        char watched[128];
        std::snprintf(watched, sizeof watched, "    text field: %d updates, at most %.0f ms apart (one watched run)",
                      updates, longestGap);
        Row row{name, runs, Median(times), Median(kernelTimes), watched};
        if (replay)
            row.breakdown += "\n" + Describe(ReplayConversion(method, host));
        rows.push_back(row);
        if (c.method == Method::Exact)
            kernelRows.push_back({c.name, TimeExactKernel(picture, GlyphFolder, runs)});
        if (c.method == Method::Exact && c.picture == std::string("photo1920.jpg"))
            photoExact = row.median;
    }

    // "Abbrechen" at moments spread over the photo's "Exakt" run, from its first cell on.
    std::vector<double> latencies;
    for (int i = 0; i < cancels; ++i) {
        double latency = -1;
        double after = photoExact * 0.9 * i / std::max(1, cancels);
        program.Convert(after, &latency);
        if (latency >= 0)
            latencies.push_back(latency);
        std::printf("  Abbrechen %.0f ms after the start: %.0f ms\n", after, latency);
    }

    // The bitmap export of a 250 × 133 character picture.
    Case exportCase{"export", "export640.bmp", Method::FourPixel, false};
    std::vector<double> exportTimes;
    if (program.Load(PictureFolder + "\\export640.bmp") && program.Choose(exportCase) && program.Convert() >= 0) {
        std::string text = program.Output();
        int lines = 0, width = 0;
        for (size_t at = 0, start = 0; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
            ++lines;
            width = static_cast<int>(at - start) * 8;
        }
        long long bytes = 54 + static_cast<long long>((width * 3 + 3) / 4 * 4) * lines * 15;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        std::string target = std::string(temp) + "glyphmill-bench.bmp";
        for (int run = 0; run < runs; ++run) {
            double ms = program.SaveBitmap(target, bytes);
            if (ms >= 0)
                exportTimes.push_back(ms);
            std::printf("  export of %d x %d characters run %d: %.0f ms\n", width / 8, lines, run + 1, ms);
            std::fflush(stdout);
        }
        Row row{"bitmap export, " + std::to_string(width / 8) + " x " + std::to_string(lines) + " characters",
                static_cast<int>(exportTimes.size()), Median(exportTimes), NAN, ""};
        if (pieceRounds > 0) {
            char line[256];
            std::snprintf(line, sizeof line,
                          "    first version: %d glyph loads at %.3f ms (single operations) = %.0f ms",
                          width / 8 * lines, pieces.glyphLoadMs, width / 8 * lines * pieces.glyphLoadMs);
            row.breakdown = line;
        }
        rows.push_back(row);
        DeleteFileA(target.c_str());
    }
    program.Quit();

    std::printf("\n%-58s %5s %12s %12s %10s\n", "case", "runs", "median ms", "kernel ms", "ratio");
    for (const Row& row : rows) {
        std::printf("%-58s %5d %12.0f", row.name.c_str(), row.runs, row.median);
        if (std::isnan(row.kernel))
            std::printf("\n");
        else
            std::printf(" %12.1f %10.1f\n", row.kernel, row.median / row.kernel);
        if (!row.breakdown.empty())
            std::printf("%s\n", row.breakdown.c_str());
    }
    if (!latencies.empty())
        std::printf("%-58s %5zu %12.0f   (max %.0f ms)\n", "Abbrechen to \"Start\" enabled (photo, Exakt)",
                    latencies.size(), Median(latencies), *std::max_element(latencies.begin(), latencies.end()));
    std::printf("\n\"Exakt\"'s kernel alone, every cell of the picture (AVX2 %s):\n%-58s %8s %12s %12s %12s %8s\n",
                Avx2Available() ? "available" : "not available", "picture", "cells", "plain ms", "AVX2 ms", "taken ms",
                "same");
    for (const KernelRow& row : kernelRows)
        std::printf("%-58s %8d %12.1f %12.1f %12.1f %8s\n", row.name.c_str(), row.times.cells, row.times.plainMs,
                    row.times.avx2Ms, row.times.fastestMs, row.times.same ? "yes" : "NO");
    return 0;
}
