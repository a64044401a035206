#include "image_import.h"

#include <windows.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app_globals.h"
#include "core/runtime_state.h"
#include "picture_extension.h"
#include "procedure_call.h"
#include "services/dll_calls.h"
#include "services/file_slots.h"
#include "values/proc_values.h"
#include "values/string_functions.h"
#include "windows/drawing_state.h"
#include "windows/text_output.h"

ScriptString JpegTempFile;

namespace {

constexpr int32_t HeaderSlot = 2;
// Kept between reads: bytes a short read does not deliver keep their earlier values.
std::array<unsigned char, 8> HeaderBuffer{};

int32_t Word(int offset)
{
    return HeaderBuffer[offset] | HeaderBuffer[offset + 1] << 8;
}

void ReadHeader(const ScriptString& path, int32_t offset, int32_t count)
{
    SetFileMode(FileModeRead);
    AssignFile(HeaderSlot, path);
    OpenFile(HeaderSlot);
    SeekFile(HeaderSlot, offset);
    ReadBlock(HeaderSlot, HeaderBuffer.data(), 0, count);
    CloseFile(HeaderSlot);
}

ScriptString ViewerLibrary()
{
    return StartFolder + "\\NViewLib.DLL";
}

DWORD ViewerRasterOperation(int32_t mode)
{
    switch (mode) {
    case 1:
        return SRCCOPY;
    case 2:
        return SRCAND;
    case 3:
        return SRCPAINT;
    case 4:
        return SRCINVERT;
    case 5:
        return DSTINVERT;
    default:
        return static_cast<DWORD>(mode);
    }
}

INT_PTR Gdi(const char* function, std::initializer_list<INT_PTR> arguments)
{
    return CallDllFunction("gdi32", function, arguments);
}

INT_PTR AddressOf(const void* block)
{
    return reinterpret_cast<INT_PTR>(block);
}

// The decoded picture selected into a memory device context for one draw.
struct DecodedPicture {
    INT_PTR bitmap = 0;
    INT_PTR memory = 0;
    INT_PTR previous = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Has the viewer library decode the picture. A picture it cannot decode gives no bitmap,
// and then nothing is drawn.
bool LoadDecoded(const ScriptString& path, DecodedPicture& picture)
{
    ScriptString library = ViewerLibrary();
    std::array<char, sizeof(BITMAP)> description{};
    std::strcpy(description.data(), "german");
    CallDllFunction(library, "NViewLibSetLanguage", {AddressOf(description.data())});
    // Paths longer than the library's usual 80-byte block are handed over whole.
    std::vector<char> pathBlock(std::max<size_t>(80, path.Length() + 1), 0);
    std::memcpy(pathBlock.data(), path.Text(), path.Length());
    picture.bitmap = CallDllFunction(library, "NViewLibLoad", {AddressOf(pathBlock.data()), 0});
    if (picture.bitmap == 0 || picture.bitmap == -1)
        return false;
    BITMAP info{};
    Gdi("GetObjectA", {picture.bitmap, sizeof info, AddressOf(&info)});
    picture.width = info.bmWidth & 0xFFFF;
    picture.height = info.bmHeight & 0xFFFF;
    picture.memory = Gdi("CreateCompatibleDC", {AddressOf(DrawTarget)});
    picture.previous = Gdi("SelectObject", {picture.memory, picture.bitmap});
    return true;
}

void ReleaseDecoded(DecodedPicture& picture)
{
    Gdi("SelectObject", {picture.memory, picture.previous});
    Gdi("DeleteDC", {picture.memory});
    Gdi("DeleteObject", {picture.bitmap});
}

}  // namespace

void SetJpegTempFile()
{
    char folder[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof folder, folder);
    JpegTempFile.Assign(length > 0 && length < sizeof folder ? folder : "");
    JpegTempFile.Append("_temp.bmp");
}

void ReadGifSize()
{
    ReadHeader(ArgString(1), 6, 4);
    PictureWidth = Word(0);
    PictureHeight = Word(2);
}

void ReadBmpSize()
{
    ReadHeader(ArgString(1), 18, 8);
    PictureWidth = Word(0);
    // A top-down bitmap stores its height negated; its size is the magnitude, which for the
    // most negative height saturates (no 32-bit integer holds it).
    int32_t height = static_cast<int32_t>(static_cast<uint32_t>(Word(4)) | static_cast<uint32_t>(Word(6)) << 16);
    int32_t magnitude = height == INT32_MIN ? INT32_MAX : std::abs(height);
    PictureHeight = magnitude & 0xFFFF;
}

void ReadPcxSize()
{
    ScriptString path = ArgString(1);
    ReadHeader(path, 8, 4);
    // Printed on the main window; a conversion without a window has nowhere to print it.
    if (MainWindow.load()) {
        PrintText(path, 1, 1, 1);
        PrintText(":", 2, 1, 1);
    }
    PictureWidth = Word(0) + 1;
    PictureHeight = Word(2) + 1;
}

void ReadTgaSize()
{
    ReadHeader(ArgString(1), 12, 4);
    PictureWidth = Word(0);
    PictureHeight = Word(2);
}

void ReadSizeFor(const ScriptString& extension, const ScriptString& path)
{
    ProcArgs[1] = StringValue(path);
    if (StrEqual(extension, "gif"))
        ReadGifSize();
    else if (StrEqual(extension, "bmp") || StrEqual(extension, "dib"))
        ReadBmpSize();
    else if (StrEqual(extension, "pcx"))
        ReadPcxSize();
    else if (StrEqual(extension, "tga"))
        ReadTgaSize();
}

void TakePicture(const ScriptString& path)
{
    PictureFile = path;
    PictureExt = StrLower(StrRight(PictureFile, 3));
    if (IsJpegExtension(PictureExt)) {
        CallProcedure(ConvertJpeg, {StringValue(PictureFile), StringValue(JpegTempFile)});
        PictureFile = JpegTempFile;
        PictureExt = "bmp";
    }
    ReadSizeFor(PictureExt, PictureFile);
}

bool ViewerCanDecode(const ScriptString& path)
{
    DecodedPicture picture;
    if (!LoadDecoded(path, picture))
        return false;
    ReleaseDecoded(picture);
    return true;
}

void ConvertJpeg()
{
    ScriptString source = StrUpper(ArgString(1));
    ScriptString target = StrUpper(ArgString(2));
    std::vector<char> sourceBlock(source.Text(), source.Text() + source.Length() + 1);
    std::vector<char> targetBlock(target.Text(), target.Text() + target.Length() + 1);
    INT_PTR result = CallDllFunction("POWERDLL.DLL", "Convert_JPEGToBmp",
                                     {AddressOf(sourceBlock.data()), AddressOf(targetBlock.data())});
    ReturnInt(static_cast<int32_t>(result));
}

void ViewerDrawScaled()
{
    ScriptString path = ArgString(1);
    int32_t x = ArgInt(2), y = ArgInt(3), width = ArgInt(4), height = ArgInt(5);
    DWORD operation = ViewerRasterOperation(ArgInt(6));
    DecodedPicture picture;
    if (LoadDecoded(path, picture)) {
        // Rows and columns are dropped, not blended, whatever the target did before, so the
        // result does not depend on earlier drawing (as for stretched bitmap files).
        Gdi("SetStretchBltMode", {AddressOf(DrawTarget), COLORONCOLOR});
        Gdi("StretchBlt", {AddressOf(DrawTarget), x, y, width, height, picture.memory, 0, 0, picture.width,
                           picture.height, static_cast<INT_PTR>(operation)});
        Gdi("BitBlt", {AddressOf(MirrorTarget), x, y, width, height, AddressOf(DrawTarget), x, y, SRCCOPY});
        ReleaseDecoded(picture);
    }
    ReturnInt(0);
}

void ViewerDraw()
{
    ScriptString path = ArgString(1);
    int32_t x = ArgInt(2), y = ArgInt(3);
    DWORD operation = ViewerRasterOperation(ArgInt(4));
    DecodedPicture picture;
    if (LoadDecoded(path, picture)) {
        for (HDC target : {DrawTarget, MirrorTarget})
            Gdi("BitBlt", {AddressOf(target), x, y, picture.width, picture.height, picture.memory, 0, 0,
                           static_cast<INT_PTR>(operation)});
        ReleaseDecoded(picture);
    }
    ReturnInt(0);
}
