#include "picture_extension.h"

#include "values/string_functions.h"

bool IsJpegExtension(const ScriptString& extension)
{
    for (const char* jpeg : {"jpg", "jif", "jpe", "peg"})
        if (StrEqual(extension, jpeg))
            return true;
    return false;
}
