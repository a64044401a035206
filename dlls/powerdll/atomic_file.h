#pragma once
// Replacing a file as a whole: readers see the old content or the new, never a part.

#include <cstdint>
#include <span>

namespace powerdll {

// Writes the bytes to a temporary file beside the target and renames it over the target.
// On failure the target is untouched and the temporary file is gone.
bool WriteFileAtomically(const char* target, std::span<const std::uint8_t> bytes);

}  // namespace powerdll
