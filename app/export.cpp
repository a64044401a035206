#include "export.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "app_globals.h"
#include "app_handles.h"
#include "cell_colours.h"
#include "window_conversion/cell_tint.h"
#include "core/runtime_state.h"
#include "window_conversion/draw_buffer_size.h"
#include "export_layout.h"
#include "window_conversion/glyph_atlas.h"
#include "services/bitmap_file.h"
#include "services/draw_target.h"
#include "services/file_slots.h"
#include "services/ini_registry.h"
#include "settings_file.h"
#include "values/string_functions.h"
#include "windows/controls.h"
#include "windows/drawing_state.h"
#include "windows/event_variables.h"
#include "windows/file_dialogs.h"
#include "windows/main_window.h"
#include "windows/popup_menu.h"

namespace {

constexpr int32_t ItemBitmap = 111;
constexpr int32_t ItemText = 222;

struct FontSizeItem {
    int32_t id;
    const char* text;  // nullptr: a separator before the item
    const char* size;
};

// The coloured page's sizes: the same items, their identifiers moved past every other one.
constexpr int32_t ColouredItemOffset = 111;

constexpr FontSizeItem FontSizeItems[] = {
    {333, "Schriftgrad -3", "-3"}, {334, "Schriftgrad -2", "-2"}, {335, "Schriftgrad -1", "-1"},
    {0, nullptr, nullptr},         {336, "Schriftgrad  0", "0"},  {0, nullptr, nullptr},
    {337, "Schriftgrad +1", "1"},  {338, "Schriftgrad +2", "2"},  {339, "Schriftgrad +3", "3"},
};

// One export form: where its dialog starts, what it offers, where the folder is kept.
struct ExportForm {
    ScriptString& folder;
    const char* key;
    const char* extension;
};

ExportForm BitmapForm{SaveFolderBmp, "save1", ".bmp"};
ExportForm TextForm{SaveFolderTxt, "save2", ".txt"};
ExportForm HtmlForm{SaveFolderHtm, "save3", ".htm"};

void AppendFontSizes(HMENU menu, int32_t idOffset)
{
    for (const FontSizeItem& item : FontSizeItems) {
        if (item.text)
            AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.id + idOffset), item.text);
        else
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
}

void BuildSaveMenu()
{
    MenuTable[0] = CreatePopupMenu();
    AppendMenuA(MenuTable[0], MF_STRING, ItemBitmap, "als &Grafik (BMP)");
    AppendMenuA(MenuTable[0], MF_STRING, ItemText, "als &Textdatei (TXT)");
    MenuTable[1] = MenuTable[0];
    MenuTable[0] = CreateMenu();
    AppendMenuA(MenuTable[1], MF_POPUP, reinterpret_cast<UINT_PTR>(MenuTable[0]), "als &Hypertext (HTM)");
    AppendFontSizes(MenuTable[0], 0);
    HMENU coloured = CreateMenu();
    AppendMenuA(MenuTable[1], MF_POPUP, reinterpret_cast<UINT_PTR>(coloured), "als Hypertext in &Farbe (HTM)");
    AppendFontSizes(coloured, ColouredItemOffset);
    MenuTable[0] = MenuTable[1];
}

// The save dialog in the form's folder; remembers the folder of the chosen file. False
// when the user cancelled.
bool ChooseExportFile(ExportForm& form)
{
    ChangeDirectory(form.folder);
    ScriptString name = StrEqual(PictureBaseName, "") ? ScriptString("bild") : PictureBaseName;
    name.Append(form.extension);
    ExportFile = SaveFileDialog("Datei speichern", name);
    if (StrEqual(ExportFile, ""))
        return false;
    WriteIniString(SettingsFilePath(), "folders", form.key, GetDirectory("@"));
    form.folder = GetDirectory("@");
    return true;
}

constexpr char NotWrittenMessage[] = "Die Datei konnte nicht geschrieben werden:\r\n";

void TellNotWritten(const ScriptString& path)
{
    ScriptString message(NotWrittenMessage);
    message.Append(path.Text());
    MessageBoxA(MainWindow.load(), message.Text(), "Glyphmill 1.2", MB_OK | MB_ICONWARNING);
}

void TellEmptyLastLine(const ScriptString& path)
{
    ScriptString message("Die Grafik kann nicht gespeichert werden: ");
    message.Append(path.Text());
    message.Append("\r\nDie letzte Zeile des Ergebnisses ist leer, die Grafik hätte keine Breite.");
    MessageBoxA(MainWindow.load(), message.Text(), "Glyphmill 1.2", MB_OK | MB_ICONWARNING);
}

bool WriteSlotBytes(const char* bytes, uint32_t count)
{
    return WriteBlock(1, bytes, 0, static_cast<int32_t>(count)) == static_cast<int32_t>(count);
}

// Text and HTML files are written through file slot 1. A longer file of the same name is
// removed first, so none of its old bytes stay behind the new ones.
template <typename WriteParts>
bool WriteThroughSlot(const ScriptString& path, WriteParts writeParts)
{
    SetFileMode(FileModeReadWrite);
    AssignFile(1, path);
    EraseFile(1);
    OpenFile(1);
    if (!FileIsOpen(1))
        return false;
    bool complete = writeParts();
    CloseFile(1);
    if (!complete)
        EraseFile(1);
    return complete;
}

}  // namespace

void ShowSaveMenu()
{
    FocusControl(MainWindow.load());
    MenuCommand.exchange(0);
    BuildSaveMenu();
    ShowPopupMenu(MouseX(), MouseY());
    if (MenuItemChosen(ItemBitmap)) {
        ExportBitmap();
    } else if (MenuItemChosen(ItemText)) {
        ExportText();
    } else {
        for (const FontSizeItem& item : FontSizeItems) {
            if (item.text && MenuItemChosen(item.id)) {
                FontSizeText = item.size;
                ExportHtml();
            }
            if (item.text && MenuItemChosen(item.id + ColouredItemOffset)) {
                FontSizeText = item.size;
                ExportColouredHtml();
            }
        }
    }
}

void ExportBitmap()
{
    if (!ChooseExportFile(BitmapForm))
        return;
    // The saved area is as wide as the last line: an empty one leaves nothing to save.
    BitmapArea area = LayGlyphs(TextBuffer, [](GlyphPlacement) {});
    if (area.height > 0 && area.width == 0) {
        TellEmptyLastLine(ExportFile);
        return;
    }
    EnableControl(MainWindow.load(), 0);
    WriteBitmapFile(ExportFile);
    EnableControl(MainWindow.load(), 1);
}

void ExportText()
{
    if (!ChooseExportFile(TextForm))
        return;
    if (!WriteTextFile(ExportFile))
        TellNotWritten(ExportFile);
}

void ExportHtml()
{
    if (!ChooseExportFile(HtmlForm))
        return;
    if (!WriteHtmlFile(ExportFile, PictureBaseName, FontSizeText))
        TellNotWritten(ExportFile);
}

void ExportColouredHtml()
{
    if (!ChooseExportFile(HtmlForm))
        return;
    if (!WriteColouredHtmlFile(ExportFile, PictureBaseName, FontSizeText))
        TellNotWritten(ExportFile);
}

bool WriteBitmapFile(const ScriptString& path, bool coloured)
{
    // The whole picture must fit the draw buffer: the widest line and all lines.
    BitmapArea needed{0, 0};
    LayGlyphs(TextBuffer, [&](GlyphPlacement glyph) {
        needed.width = std::max(needed.width, glyph.x + CellWidth);
        needed.height = glyph.y + CellHeight;
    });
    if (!EnsureDrawBuffer({needed.width, needed.height, 0, "als Grafik gespeichert"}))
        return false;
    BeginDraw(DrawBufferWindow);
    bool drawn = false;
    {
        GlyphAtlas glyphs(DrawTarget);
        std::optional<CellTint> tint;
        if (coloured)
            tint.emplace(DrawTarget);
        size_t cell = 0;
        BitmapArea area = LayGlyphs(TextBuffer, [&](GlyphPlacement glyph) {
            glyphs.Draw(glyph.code, glyph.x, glyph.y);
            if (tint)
                tint->Paint(glyph.x, glyph.y, cell < TextColours.size() ? TextColours[cell] : 0);
            ++cell;
        });
        // Before any conversion there is nothing to save, and no empty file is written.
        drawn = area.width > 0 && area.height > 0;
        if (drawn)
            SaveBitmapArea(path, 0, 0, area.width, area.height);
    }
    EndDraw();
    return drawn;
}

bool WriteTextFile(const ScriptString& path)
{
    return WriteThroughSlot(path, [] { return WriteSlotBytes(TextBuffer.Text(), TextBuffer.Length()); });
}

bool WriteColouredHtmlFile(const ScriptString& path, const ScriptString& title, const ScriptString& fontSize)
{
    return WriteThroughSlot(path, [&] {
        std::string page = std::string(HtmlHeader(HtmlEscaped(title.Text()).c_str(), fontSize).View()) +
                           ColouredHtmlLines(TextBuffer, TextColours) + std::string(HtmlFooter().View());
        return WriteSlotBytes(page.data(), static_cast<uint32_t>(page.size()));
    });
}

bool WriteHtmlFile(const ScriptString& path, const ScriptString& title, const ScriptString& fontSize)
{
    return WriteThroughSlot(path, [&] {
        ScriptString header = HtmlHeader(title, fontSize);
        ScriptString footer = HtmlFooter();
        return WriteSlotBytes(header.Text(), header.Length()) &&
               WriteSlotBytes(TextBuffer.Text(), TextBuffer.Length()) && WriteSlotBytes(footer.Text(), footer.Length());
    });
}
