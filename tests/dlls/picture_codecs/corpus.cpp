#include "corpus.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <cctype>

namespace corpus {

std::string Path(const std::string& name)
{
    return std::string(PICTURE_CORPUS_DIR) + "/" + name;
}

std::vector<std::uint8_t> ReadBytes(const std::string& name)
{
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<picture_codecs::Picture> ReadPpm(const std::string& name)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(name);
    // Header fields are separated by white space and comment lines.
    std::size_t pos = 0;
    auto field = [&] {
        std::string token;
        while (pos < bytes.size() && token.empty()) {
            if (bytes[pos] == '#') {
                while (pos < bytes.size() && bytes[pos] != '\n')
                    ++pos;
            } else {
                while (pos < bytes.size() && !std::isspace(bytes[pos]))
                    token += char(bytes[pos++]);
                if (token.empty())
                    ++pos;
            }
        }
        return token;
    };
    const std::string magic = field();
    const std::uint32_t width = std::uint32_t(std::atoi(field().c_str()));
    const std::uint32_t height = std::uint32_t(std::atoi(field().c_str()));
    const std::string maxval = field();
    if (magic != "P6" || maxval != "255" || width == 0 || height == 0)
        return std::nullopt;
    const std::size_t start = pos + 1;
    picture_codecs::Picture picture(width, height);
    if (bytes.size() < start + picture.rgb.size())
        return std::nullopt;
    std::copy_n(bytes.begin() + std::ptrdiff_t(start), picture.rgb.size(), picture.rgb.begin());
    return picture;
}

Difference Compare(const picture_codecs::Picture& a, const picture_codecs::Picture& b)
{
    Difference d;
    if (a.width != b.width || a.height != b.height)
        return {256, 256.0};
    double sum = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) {
        const int diff = std::abs(int(a.rgb[i]) - int(b.rgb[i]));
        d.max = std::max(d.max, diff);
        sum += diff;
    }
    d.mean = a.rgb.empty() ? 0.0 : sum / double(a.rgb.size());
    return d;
}

}  // namespace corpus
