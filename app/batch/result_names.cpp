#include "batch/result_names.h"

#include <algorithm>
#include <set>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

}  // namespace

std::string PictureBaseName(const std::string& path)
{
    size_t folderEnd = path.find_last_of("\\/:");
    std::string name = folderEnd == std::string::npos ? path : path.substr(folderEnd + 1);
    name = name.substr(0, name.find('.'));
    return name.empty() ? "bild" : name;
}

std::vector<std::string> ResultNames(const std::vector<std::string>& pictures, const std::string& extension)
{
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const std::string& picture : pictures) {
        std::string base = PictureBaseName(picture);
        std::string name = base + extension;
        for (int suffix = 2; taken.contains(Lower(name)); ++suffix)
            name = base + "-" + std::to_string(suffix) + extension;
        taken.insert(Lower(name));
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> ResultPathsIn(const std::string& folder, char separator, const CommandOptions& options)
{
    static constexpr const char* Extensions[] = {"", ".txt", ".htm", ".bmp"};
    std::vector<std::string> paths = ResultNames(options.pictures, Extensions[static_cast<int>(options.form)]);
    for (std::string& path : paths)
        path = folder + separator + path;
    return paths;
}
