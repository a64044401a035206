#pragma once
// The generated picture corpus and its tool-decoded references.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture.h"

namespace corpus {

std::string Path(const std::string& name);
std::vector<std::uint8_t> ReadBytes(const std::string& name);
// An 8-bit binary PPM as written by the corpus generator.
std::optional<picture_codecs::Picture> ReadPpm(const std::string& name);

struct Difference {
    int max = 0;        // largest difference of one channel
    double mean = 0.0;  // mean difference over all channels
};
Difference Compare(const picture_codecs::Picture& a, const picture_codecs::Picture& b);

}  // namespace corpus
