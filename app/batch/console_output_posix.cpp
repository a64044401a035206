// Standard output and error of the native command. The program's texts are Windows-1252,
// the bytes its files hold; a terminal whose character set is UTF-8 gets the characters
// instead (as a Windows console does), while a file or a pipe gets the bytes unchanged.
#include "batch/console_output.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstring>

namespace {

// The characters of 0x80 to 0x9F; the rest of Windows-1252 above 0x7F is Latin-1.
constexpr char16_t HighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool WantsUtf8(int descriptor)
{
    static const bool utf8Locale = [] {
        std::setlocale(LC_CTYPE, "");
        return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    }();
    return utf8Locale && isatty(descriptor);
}

std::string AsUtf8(const char* bytes, size_t count)
{
    std::string text;
    text.reserve(count + count / 8);
    for (size_t i = 0; i < count; ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        char32_t c = byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte;
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

bool WriteAll(int descriptor, const char* bytes, size_t count)
{
    while (count > 0) {
        ssize_t written = write(descriptor, bytes, count);
        if (written <= 0)
            return false;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

bool Write(int descriptor, const char* bytes, size_t count)
{
    if (!WantsUtf8(descriptor))
        return WriteAll(descriptor, bytes, count);
    std::string text = AsUtf8(bytes, count);
    return WriteAll(descriptor, text.data(), text.size());
}

}  // namespace

bool WriteStandardOutput(const char* bytes, size_t count)
{
    return Write(STDOUT_FILENO, bytes, count);
}

void WriteStandardError(const std::string& text)
{
    Write(STDERR_FILENO, text.data(), text.size());
}

// A terminal shows the colour sequences as they are.
void EnableConsoleColour()
{
}
