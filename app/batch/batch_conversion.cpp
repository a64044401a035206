#include "batch/batch_conversion.h"

#include <windows.h>

#include <string>

#include "app_globals.h"
#include "app_handles.h"
#include "cell_colours.h"
#include "batch/console_output.h"
#include "conversion.h"
#include "core/command_channel.h"
#include "core/runtime_settings.h"
#include "window_conversion/draw_buffer_size.h"
#include "export.h"
#include "image_import.h"
#include "picture_path.h"
#include "batch/scaled_picture.h"
#include "services/dll_calls.h"
#include "values/error_report.h"
#include "values/number_text.h"
#include "values/string_functions.h"
#include "window_conversion/window_conversion_host.h"
#include "windows/window_settings.h"

namespace {

CommandOptions Options;
// What a runtime error report means at the current step.
int FailureCode = ExitPictureUnreadable;
std::string TemporaryFolder;  // holds the converted JPEG and the scaled copy
std::string ScaledCopy;       // the picture scaled for --width
std::string PartialOutput;    // written first, renamed to the output when complete

class BatchConversionHost : public DrawBufferConversionHost {
public:
    int32_t SliderPosition() override { return Options.brightness; }
    bool HalfHeightChecked() override { return Options.halfHeight; }
    bool OriginalHeightChecked() override { return !Options.halfHeight; }
    void ShowProgress(int32_t) override {}
    void ShowText(const char*) override {}
    void CompleteText() override {}
    bool CancelRequested() override { return false; }
    void UnlockControls() override {}
};

void RemoveLeftovers()
{
    if (!TemporaryFolder.empty()) {
        DeleteFileA(JpegTempFile.Text());
        if (!ScaledCopy.empty())
            DeleteFileA(ScaledCopy.c_str());
        RemoveDirectoryA(TemporaryFolder.c_str());
    }
    if (!PartialOutput.empty())
        DeleteFileA(PartialOutput.c_str());
}

[[noreturn]] void Finish(int exitCode)
{
    // A report raised while finishing ends the run at once.
    static bool finishing = false;
    if (finishing)
        EndProgramWithExitCode(exitCode);
    finishing = true;
    RemoveLeftovers();
    CallDllFunction("POWERDLL.DLL", "DLL_UnLoadPowerDLL");
    FreeDll(ImportModule);
    FreeDll(ResModule);
    EndProgramWithExitCode(exitCode);
}

[[noreturn]] void Fail(int exitCode, const std::string& message)
{
    WriteStandardError(message + "\r\n");
    Finish(exitCode);
}

// The runtime's error reports go to standard error, and every one ends the run.
void ReportOnStandardError(const char* title)
{
    WriteStandardError(std::string(title) + "\r\n");
}

bool NeverContinue(const char* title)
{
    ReportOnStandardError(title);
    return false;
}

[[noreturn]] void EndAfterReport()
{
    Finish(FailureCode);
}

void TellTooLarge(const char* message)
{
    Fail(FailureCode, message);
}

std::string ProgramFolder()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? FolderOf(path) : std::string(".");
}

bool IsPictureExtension(const ScriptString& extension)
{
    for (const char* known : {"bmp", "dib", "gif", "pcx", "tga"})
        if (StrEqual(extension, known))
            return true;
    return IsJpegExtension(extension);
}

// A folder of this run's own for the converted JPEG and the scaled copy, so that a window
// open at the same time keeps its own; the JPEG's file keeps the name the window gives it.
void UseOwnTemporaryFolder()
{
    char temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof temp, temp);
    std::string folder = length > 0 && length < sizeof temp ? temp : "";
    folder += "glyphmill-" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        Fail(ExitPictureUnreadable, "Der temporäre Ordner kann nicht angelegt werden: " + folder);
    TemporaryFolder = folder;
    JpegTempFile = (folder + "\\_temp.bmp").c_str();
}

void LoadPicture()
{
    const std::string& given = Options.picture;
    PictureProblem problem = CheckPictureFile(given);
    if (problem != PictureProblem::None)
        Fail(ExitPictureUnreadable, PictureProblemText(problem, given));
    std::string full = FullPath(given);
    ScriptString extension = StrLower(StrRight(full.c_str(), 3));
    if (!IsPictureExtension(extension))
        Fail(ExitPictureUnreadable, "Das Bildformat von " + given +
                                        " wird nicht unterstützt (BMP, DIB, GIF, JPEG, PCX, TGA).");
    if (IsJpegExtension(extension) || Options.columns > 0)
        UseOwnTemporaryFolder();
    TakePicture(full.c_str());
    if (IsJpegExtension(extension) && GetFileAttributesA(JpegTempFile.Text()) == INVALID_FILE_ATTRIBUTES)
        Fail(ExitPictureUnreadable, "Das JPEG-Bild kann nicht gelesen werden: " + given);
    if (PictureWidth <= 0 || PictureHeight <= 0)
        Fail(ExitPictureUnreadable, "Das Bild hat keine lesbare Größe: " + given);
    // What the viewer library's decoder refuses (a cut-off file, say) would be drawn
    // with made-up pixels or not at all.
    if (!ViewerCanDecode(PictureFile))
        Fail(ExitPictureUnreadable, "Das Bild kann nicht entschlüsselt werden: " + given);
}

void ScaleForColumns()
{
    BatchConversionHost host;
    if (!UseScaledPicture(host, Options.method, Options.columns, TemporaryFolder, ScaledCopy))
        Fail(ExitPictureUnreadable, "Das Bild kann nicht auf " + std::to_string(Options.columns) +
                                        " Spalten skaliert werden: " + Options.picture);
}

void Convert()
{
    ResetConversionState();
    BatchConversionHost host;
    switch (Options.method) {
    case BatchMethod::FourPixel:
        ConvertFourPixel(host);
        break;
    case BatchMethod::Exact:
        ConvertExact(host);
        break;
    case BatchMethod::Greyscale:
        ConvertGreyscale(host);
        break;
    }
}

bool WriteForm(const ScriptString& path)
{
    switch (Options.form) {
    case OutputForm::Text:
        return WriteTextFile(path);
    case OutputForm::Html:
        if (Options.colour)
            return WriteColouredHtmlFile(path, PictureBaseName, IntToStr(Options.fontSize));
        return WriteHtmlFile(path, PictureBaseName, IntToStr(Options.fontSize));
    case OutputForm::Bitmap:
        return WriteBitmapFile(path, Options.colour);
    case OutputForm::Console:
        break;
    }
    return false;
}

// The file appears under its name only when complete; a file of that name stays as it was
// when writing fails.
void WriteResult()
{
    FailureCode = ExitOutputUnwritable;
    if (Options.form == OutputForm::Console) {
        bool written = false;
        if (Options.colour) {
            EnableConsoleColour();
            std::string coloured = AnsiColouredLines(TextBuffer, TextColours);
            written = WriteStandardOutput(coloured.data(), coloured.size());
        } else {
            written = WriteStandardOutput(TextBuffer.Text(), TextBuffer.Length());
        }
        if (!written)
            Fail(ExitOutputUnwritable, "Die Standardausgabe kann nicht geschrieben werden.");
        return;
    }
    std::string target = FullPath(Options.output);
    // Renaming may replace a write-protected file, which writing it never would.
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        Fail(ExitOutputUnwritable, "Die Datei kann nicht geschrieben werden (Ordner oder schreibgeschützt): " +
                                       Options.output);
    PartialOutput = target + ".~glyphmill";
    if (!WriteForm(PartialOutput.c_str()))
        Fail(ExitOutputUnwritable, "Die Datei kann nicht geschrieben werden: " + Options.output);
    if (!MoveFileExA(PartialOutput.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        Fail(ExitOutputUnwritable, "Die Datei kann nicht geschrieben werden: " + Options.output);
    PartialOutput.clear();
}

}  // namespace

void SetBatchOptions(const CommandOptions& options)
{
    Options = options;
}

void BatchScript()
{
    InstallErrorBoxes({ReportOnStandardError, NeverContinue, EndAfterReport});
    SetErrorLevel(2);
    SetTooLargeNotice(TellTooLarge);
    CRLF = StrChar(13) + StrChar(10);
    // The viewer library is found beside the program, wherever the caller's folder is.
    StartFolder = ProgramFolder().c_str();
    SetColorMode(1);
    SetDecimals(0);
    ResModule = LoadDll("res.dll");
    CreateStartDrawBuffer();
    ViewerModule = LoadDll(StartFolder + "\\NViewLib.DLL");
    ImportModule = LoadDll("POWERDLL.DLL");
    CallDllFunction("POWERDLL.DLL", "DLL_LoadPowerDLL", {1});

    LoadPicture();
    if (Options.columns > 0)
        ScaleForColumns();
    Convert();
    WriteResult();
    Finish(ExitSuccess);
}
