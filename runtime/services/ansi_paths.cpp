#include "ansi_paths.h"

#include <optional>
#include <vector>

namespace {

// Only an exact round trip counts: a best-fit mapping ("ā" to "a") would name another file.
std::optional<std::string> ExactAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int wideLength = static_cast<int>(text.size());
    int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(length), '\0');
    BOOL defaulted = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, bytes.data(), length, nullptr,
                        &defaulted);
    if (defaulted || WideFromAnsi(bytes) != text)
        return std::nullopt;
    return bytes;
}

std::string LossyAnsi(const std::wstring& text)
{
    int wideLength = static_cast<int>(text.size());
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::optional<std::string> ShortAnsi(const std::wstring& path)
{
    DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    DWORD length = GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size())
        return std::nullopt;
    return ExactAnsi(std::wstring(buffer.data(), length));
}

std::optional<std::string> Reachable(const std::wstring& path, PathPurpose purpose)
{
    if (std::optional<std::string> exact = ExactAnsi(path))
        return exact;
    if (purpose == PathPurpose::Open)
        return ShortAnsi(path);
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash + 1 == path.size())
        return std::nullopt;
    std::optional<std::string> name = ExactAnsi(path.substr(slash + 1));
    std::optional<std::string> folder = ShortAnsi(path.substr(0, slash + 1));
    if (!name || !folder)
        return std::nullopt;
    if (folder->empty() || (folder->back() != '\\' && folder->back() != '/'))
        folder->push_back('\\');
    return *folder + *name;
}

bool Exists(const AnsiPath& path)
{
    return GetFileAttributesW(path.original.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

AnsiPath ToAnsiPath(const std::wstring& path, PathPurpose purpose, size_t maxBytes)
{
    AnsiPath result;
    result.original = path;
    std::optional<std::string> reachable = Reachable(path, purpose);
    result.usable = reachable && (maxBytes == 0 || reachable->size() <= maxBytes);
    result.path = result.usable ? *reachable : LossyAnsi(path);
    return result;
}

std::wstring UnusablePathText(const AnsiPath& path, PathPurpose purpose)
{
    if (purpose == PathPurpose::Save)
        return L"Unter diesem Namen kann nicht gespeichert werden: " + path.original +
               L"\r\nDer Name enthält Zeichen, die Glyphmill in Dateinamen nicht schreiben kann. "
               L"Bitte einen Namen aus lateinischen Buchstaben wählen.";
    std::wstring text = L"Die Grafik kann nicht geöffnet werden: " + path.original + L"\r\n";
    if (!Exists(path))
        return text + L"Die Datei gibt es nicht.";
    return text +
           L"Ihr Name enthält Zeichen, die Glyphmill nicht lesen kann, und Windows hat für sie keinen "
           L"kurzen Namen (8.3). Bitte die Datei umbenennen.";
}

std::string UnusablePathAnsiText(const AnsiPath& path, PathPurpose purpose)
{
    return LossyAnsi(UnusablePathText(path, purpose));
}

void ShowUnusablePath(HWND owner, const AnsiPath& path, PathPurpose purpose)
{
    MessageBoxW(owner, UnusablePathText(path, purpose).c_str(), L"Glyphmill 1.2", MB_OK | MB_ICONWARNING);
}

std::wstring WideFromAnsi(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}
