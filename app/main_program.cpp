#include "main_program.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app_globals.h"
#include "app_handles.h"
#include "conversion.h"
#include "core/command_channel.h"
#include "core/runtime_settings.h"
#include "core/runtime_state.h"
#include "window_conversion/draw_buffer_size.h"
#include "export.h"
#include "image_import.h"
#include "picture_path.h"
#include "procedure_call.h"
#include "services/bitmap_drawing.h"
#include "services/dll_calls.h"
#include "services/draw_target.h"
#include "services/file_slots.h"
#include "services/ini_registry.h"
#include "services/text_fonts.h"
#include "settings_file.h"
#include "toolbar.h"
#include "values/number_text.h"
#include "values/string_functions.h"
#include "window_conversion/window_conversion_host.h"
#include "windows/controls.h"
#include "windows/dropped_files.h"
#include "windows/event_variables.h"
#include "windows/file_dialogs.h"
#include "windows/main_window.h"
#include "windows/window_settings.h"

namespace {

constexpr char PictureFilter[] =
    "Alle Grafikformate|*.bmp;*.gif;*.jpg;*.pcx;*.tga;*.dib;*.jif;*.jpe;*.jpeg|BMP - Windows Bitmap|*.bmp;*.dib|"
    "GIF - CompuServe|*.gif|JPEG - Joint Photographic Experts Group|*.jif;*.jpg;*.jpe;*.jpeg|"
    "TGA - Truevision Targa|*.tga|PCX - Zsoft Paintbrush|*.pcx|Alle Dateien (*.*)|*.*";

constexpr int32_t PreviewX = 520;
constexpr int32_t PreviewY = 320;

// Window styles of the controls made with CreateControl.
constexpr uint32_t SliderStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_AUTOTICKS | TBS_NOTICKS;
constexpr uint32_t ProgressStyle = WS_CHILD | WS_VISIBLE;

HFONT FixedsysFont = nullptr;
HFONT SansSerifFont = nullptr;

// Preview geometry, in double precision.
double PreviewScale = 0.0;
double PreviewWidth = 0.0;
double PreviewHeight = 0.0;
double PreviewLeft = 0.0;
double PreviewTop = 0.0;

ScriptString SettingsFile;

// Named on the command line; opened once the window stands.
AnsiPath PictureToOpen;

void ReadFolderSettings()
{
    LoadFolder = ReadIniString(SettingsFile, "folders", "load");
    SaveFolderBmp = ReadIniString(SettingsFile, "folders", "save1");
    SaveFolderTxt = ReadIniString(SettingsFile, "folders", "save2");
    SaveFolderHtm = ReadIniString(SettingsFile, "folders", "save3");
}

void UseDefaultFoldersIfNone()
{
    if (!StrEqual(LoadFolder, ""))
        return;
    LoadFolder = StartFolder + "\\Quellgrafiken";
    SaveFolderBmp = SaveFolderTxt = SaveFolderHtm = StartFolder + "\\fertige Bilder";
}

void DrawLogo()
{
    DrawBitmapResource(ResModule, "logo", 510, 6, TransparentMode);
}

void DrawPreviewFrame()
{
    DrawBitmapResource(ResModule, "bild", 519, 319, 0);
}

void SetFont(HWND control, HFONT font)
{
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// Dropping needs the window's consent, which it withholds while a conversion runs.
void AcceptDroppedFiles(bool accept)
{
    DragAcceptFiles(MainWindow.load(), accept ? TRUE : FALSE);
}

void DrawSliderMark()
{
    DrawLine(599, 306, 599, 301);
    DrawLine(600, 306, 600, 303);
    DrawLine(598, 306, 598, 303);
    DrawLine(597, 306, 602, 306);
    DrawLine(597, 307, 602, 307);
}

void CreateControls()
{
    HWND main = MainWindow.load();
    ResolutionLabel = CreateText(main, "Auflösung:", 521, 445, 166, 20);
    CreateText(main, "Fortschritt:", 5, 452, 90, 20);
    // The bar starts a little right of its label's text, which fonts wider than the
    // classic one would otherwise run under it.
    ProgressBar = CreateControl(PROGRESS_CLASSA, "", ProgressStyle, 66, 450, 439, 19, main, 0, InstanceHandle, 0);
    SetFont(CreateGroupBox(main, "Helligkeit:", 510, 258, 180, 54), SansSerifFont);
    OutputEdit = CreateMultiLineEdit(main, "", 5, 55, 500, 386);
    SetFont(OutputEdit, FixedsysFont);
    CreateGroupBox(main, "Methode:", 510, 92, 180, 80);
    MethodFourPixel = CreateRadioButton(main, "4-Pixel (empfohlen)", 520, 110, 130, 17);
    MethodExact = CreateRadioButton(main, "Exakt", 520, 130, 120, 17);
    MethodGreyscale = CreateRadioButton(main, "Graustufen", 520, 150, 120, 17);  // 70 cuts the text
    CreateGroupBox(main, "Optionen:", 510, 185, 180, 60);
    OptionOriginal = CreateRadioButton(main, "Originalhöhe", 520, 202, 140, 17);
    OptionHalf = CreateRadioButton(main, "½-Grafikhöhe", 520, 222, 160, 17);
}

void StartUp()
{
    CRLF = StrChar(13) + StrChar(10);
    SettingsFile = SettingsFilePath();
    ReadFolderSettings();
    StartFolder = GetDirectory("@");
    UseDefaultFoldersIfNone();
    HelpFile = StartFolder + "\\help.chm";
    ResModule = LoadDll("res.dll");
    TextBuffer.Clear();
    SetJpegTempFile();

    SetColorMode(1);
    SetErrorLevel(1);
    // The script's 146: bit 0x80 has no effect.
    SetWindowStyle(WindowMinimizeBox | WindowNoMenu | 0x80);
    SetWindowTitle("Glyphmill 1.2");
    OpenMainWindow(ScreenWidth, ScreenHeight, 700, 500);
    SetDecimals(0);

    CallDllFunction("COMCTL32", "InitCommonControls");
    ClearWindow(static_cast<int32_t>(CallDllFunction("USER32", "GetSysColor", {COLOR_BTNFACE})));
    SelectTextFont("MS Sans Serif", 13, 0, 0, 0, 0);
    SetControlFontMode(1);
    CreateStartDrawBuffer();

    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_COOL_CLASSES};
    CallDllFunction("COMCTL32.dll", "InitCommonControlsEx", {reinterpret_cast<INT_PTR>(&classes)});
    ViewerModule = LoadDll(StartFolder + "\\NViewLib.DLL");

    ScriptValue handle = CallProcedure(TbCreate, {IntValue(1), IntValue(1)});
    Toolbar = reinterpret_cast<HWND>(static_cast<INT_PTR>(handle.integer));
    CallProcedure(TbStyle);
    CallProcedure(TbLayout, {IntValue(1), IntValue(1)});
    CallProcedure(TbDisableButton, {IntValue(CmdCancel)});
    CallProcedure(TbDisableButton, {IntValue(CmdStart)});

    DrawPreviewFrame();
    FixedsysFont = CreateFontHandle("Fixedsys", 10, 0, 0, 0, 0);
    SansSerifFont = CreateFontHandle("MS Sans Serif", 13, 0, 0, 0, 0);
    BrightnessSlider =
        CreateControl(TRACKBAR_CLASSA, "", SliderStyle, 514, 275, 171, 24, MainWindow.load(), 2001, InstanceHandle, 0);
    DrawSliderMark();
    CreateControls();

    SendMessageA(MethodFourPixel, BM_SETCHECK, 1, 0);
    SendMessageA(OptionHalf, BM_SETCHECK, 1, 0);
    SendMessageA(BrightnessSlider, TBM_SETRANGE, FALSE, MAKELPARAM(32, 224));
    SendMessageA(BrightnessSlider, TBM_SETPOS, TRUE, 128);

    auto x = static_cast<int32_t>(ScreenWidth * 0.5 - 350);
    auto y = static_cast<int32_t>(ScreenHeight * 0.5 - 250);
    SetWindowPosition(MainWindow.load(), x, y, 700, 500, ZOrderTopmost);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 20) {
    }
    DrawLogo();
    DrawBitmapResource(ResModule, "mill", 540, 55, TransparentMode);
    SetWindowPosition(MainWindow.load(), x, y, 700, 500, ZOrderNotTopmost);
    SetWindowPosition(MainWindow.load(), x, y, 700, 500, ZOrderUnchanged);

    ImportModule = LoadDll("POWERDLL.DLL");
    CallDllFunction("POWERDLL.DLL", "DLL_LoadPowerDLL", {1});
    AcceptDroppedFiles(true);
}

void ComputePreviewGeometry()
{
    double width = PictureWidth;
    double height = PictureHeight;
    if (height * (1.0 / 3.0) < width * 0.25)
        PreviewScale = width * 0.00625;
    else
        PreviewScale = height * (1.0 / 120.0);
    PreviewWidth = width / PreviewScale;
    PreviewHeight = height / PreviewScale;
    PreviewLeft = (160.0 - PreviewWidth) * 0.5;
    PreviewTop = (120.0 - PreviewHeight) * 0.5;
}

// A picture whose size was never read has no preview rather than an undefined one.
void DrawPreview()
{
    DrawPreviewFrame();
    SetFileMode(FileModeReadWrite);
    if (PictureWidth <= 0 || PictureHeight <= 0)
        return;
    ComputePreviewGeometry();
    double x = PreviewX + PreviewLeft;
    double y = PreviewY + PreviewTop;
    if (!StrEqual(PictureExt, "bmp"))
        CallProcedure(ViewerDrawScaled, {StringValue(PictureFile), RealValue(x), RealValue(y), RealValue(PreviewWidth),
                                         RealValue(PreviewHeight), IntValue(1)});
    else
        StretchBitmapFile(PictureFile, static_cast<int32_t>(x), static_cast<int32_t>(y),
                          static_cast<int32_t>(PreviewWidth), static_cast<int32_t>(PreviewHeight), 0);
}

// The chosen picture becomes the program's: its folder is remembered, its size shown and
// its preview drawn. The current folder is the picture's, as the open dialog leaves it.
void ShowChosenPicture(const ScriptString& chosen)
{
    WriteIniString(SettingsFile, "folders", "load", GetDirectory("@"));
    LoadFolder = GetDirectory("@");
    TakePicture(chosen);
    SetWindowTextA(
        ResolutionLabel,
        (ScriptString("Auflösung: ") + IntToStr(PictureWidth) + " x " + IntToStr(PictureHeight) + " Pixel").Text());
    DrawPreview();
    DrawLogo();  // the PCX reader's path may have run over it
}

void LoadPicture()
{
    CallDllFunction("KERNEL32", "Sleep", {100});
    FocusControl(MainWindow.load());
    ChangeDirectory(LoadFolder);
    ScriptString chosen = OpenFileDialog("Grafik suchen...", PictureFilter);
    if (StrEqual(chosen, ""))
        return;
    ShowChosenPicture(chosen);
}

// A picture named on the command line or dropped on the window is loaded as if chosen in
// the open dialog; one that cannot be read changes nothing.
void OpenGivenPicture(const AnsiPath& given)
{
    if (!given.usable) {
        ShowUnusablePath(MainWindow.load(), given, PathPurpose::Open);
        return;
    }
    const std::string& path = given.path;
    PictureProblem problem = CheckPictureFile(path);
    if (problem != PictureProblem::None) {
        MessageBoxA(MainWindow.load(), PictureProblemText(problem, path).c_str(), "Glyphmill 1.2",
                    MB_OK | MB_ICONWARNING);
        return;
    }
    std::string full = FullPath(path);
    ChangeDirectory(FolderOf(full).c_str());
    ShowChosenPicture(full.c_str());
}

void RunConversion(void (*method)(ConversionHost&))
{
    PrepareConversion();
    WindowConversionHost host;
    method(host);
    AcceptDroppedFiles(true);
}

void OpenHelp()
{
    ShellOpen(HelpFile, "", 1);
    DrawLogo();
}

[[noreturn]] void ShutDown()
{
    FreeDll(ResModule);
    CallProcedure(TbDestroy);
    CallProcedure(TbFreeBuffers);
    AssignFile(1, JpegTempFile);
    EraseFile(1);
    CallDllFunction("POWERDLL.DLL", "DLL_UnLoadPowerDLL");
    FreeDll(ImportModule);
    EndProgram();
}

}  // namespace

void EnableOptionRadios()
{
    int32_t enable = IsChecked(MethodFourPixel) ? 1 : 0;
    EnableControl(OptionOriginal, enable);
    EnableControl(OptionHalf, enable);
}

void PrepareConversion()
{
    CallDllFunction("KERNEL32", "Sleep", {100});
    FocusControl(MainWindow.load());
    AcceptDroppedFiles(false);
    ResetConversionState();
    CallProcedure(TbDisableButton, {IntValue(CmdStart)});
    CallProcedure(TbEnableButton, {IntValue(CmdCancel)});
    for (HWND control : {BrightnessSlider, OptionOriginal, OptionHalf, MethodFourPixel, MethodExact, MethodGreyscale})
        EnableControl(control, 0);
    for (int32_t command : {CmdLoad, CmdSave, CmdExit, CmdHelp})
        CallProcedure(TbDisableButton, {IntValue(command)});
}

void SetPictureToOpen(const AnsiPath& path)
{
    PictureToOpen = path;
}

void MainScript()
{
    StartUp();
    if (!PictureToOpen.original.empty())
        OpenGivenPicture(PictureToOpen);
    for (;;) {
        EnableOptionRadios();
        if (MenuItemChosen(CmdStart) && IsChecked(MethodFourPixel))
            RunConversion(ConvertFourPixel);
        else if (MenuItemChosen(CmdStart) && IsChecked(MethodGreyscale))
            RunConversion(ConvertGreyscale);
        else if (MenuItemChosen(CmdStart) && IsChecked(MethodExact))
            RunConversion(ConvertExact);
        else if (MenuItemChosen(CmdLoad))
            LoadPicture();
        else if (MenuItemChosen(CmdSave))
            ShowSaveMenu();
        else if (MenuItemChosen(FileDropCommand))
            OpenGivenPicture(TakeDroppedFile());

        if (MenuItemChosen(CmdExit))
            ShutDown();
        else if (MenuItemChosen(CmdHelp))
            OpenHelp();

        CallProcedure(StrEqual(PictureFile, "") ? TbDisableButton : TbEnableButton, {IntValue(CmdStart)});
        WaitForInput();
        DrawLogo();
    }
}
