#include "file_dialog_filter.h"

#include <cstddef>

namespace {

void AppendPiece(std::string& filter, std::string_view piece)
{
    filter.append(piece);
    filter.push_back('\0');
}

}  // namespace

FileDialogFilter BuildOpenFilter(std::string_view filterText)
{
    FileDialogFilter result;
    size_t position = 1;
    size_t start = 0;
    while (start <= filterText.size()) {
        size_t end = filterText.find('|', start);
        if (end == std::string_view::npos)
            end = filterText.size();
        std::string_view piece = filterText.substr(start, end - start);
        start = end + 1;
        if (piece.empty())
            continue;
        if (position % 2 == 1 && piece.front() == '*') {
            AppendPiece(result.filter, piece);
            ++position;
        }
        AppendPiece(result.filter, piece);
        ++position;
    }
    if (!result.filter.empty())
        result.filter.push_back('\0');
    return result;
}

FileDialogFilter BuildSaveFilter(std::string_view initialName)
{
    // The extension belongs to the file name, not to a folder that contains a dot, and a
    // name like "bild.v2.txt" has the extension "txt".
    size_t nameStart = initialName.find_last_of("\\/");
    nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
    size_t dot = initialName.rfind('.');
    FileDialogFilter result;
    std::string pattern = "*.*";
    if (dot != std::string_view::npos && dot >= nameStart) {
        std::string_view extension = initialName.substr(dot + 1);
        pattern = "*." + std::string(extension);
        result.defaultExtension = std::string(extension.substr(0, 3));
    }
    AppendPiece(result.filter, pattern);
    AppendPiece(result.filter, pattern);
    result.filter.push_back('\0');
    return result;
}
