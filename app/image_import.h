#pragma once
// Reading picture sizes from file headers, JPEG conversion, and drawing pictures decoded by
// the viewer library. Script procedures: arguments in ProcArgs 1..n, result in ProcArgs 0.

#include "values/script_string.h"

// Where JPEG pictures are converted to: "_temp.bmp" in the user's temporary folder.
extern ScriptString JpegTempFile;
void SetJpegTempFile();

void ReadGifSize();       // path
void ReadBmpSize();       // path
void ReadPcxSize();       // path
void ReadTgaSize();       // path
void ConvertJpeg();       // source path, target path → Convert_JPEGToBmp's result
void ViewerDraw();        // path, x, y, mode
void ViewerDrawScaled();  // path, x, y, width, height, mode

// The size reader that the extension selects, if any: "gif", "bmp"/"dib", "pcx", "tga".
void ReadSizeFor(const ScriptString& extension, const ScriptString& path);

// Makes `path` the picture: PictureFile and PictureExt, a JPEG converted to JpegTempFile
// (which then becomes the picture), and its size read.
void TakePicture(const ScriptString& path);
// Whether the viewer library decodes the picture; what it cannot decode is never drawn.
bool ViewerCanDecode(const ScriptString& path);
