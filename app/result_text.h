#pragma once
// The character picture: lines of characters, each ending in CR LF, followed by one zero
// byte. It grows as needed, so no conversion result is ever cut short or written past.

#include <cstdint>
#include <vector>

#include "values/script_string.h"

class ResultText {
public:
    // Room for the lines of an ordinary picture; more is added when a result needs it.
    static constexpr uint32_t InitialCapacity = 524288;

    ResultText();

    void Clear();
    // Appends the line's bytes (up to its first zero byte), keeping the final zero byte.
    void AppendLine(const ScriptString& line);

    // Bytes of the lines, without the zero byte that follows them.
    uint32_t Length() const { return length_; }
    // The lines followed by their zero byte.
    const char* Text() const { return bytes_.data(); }
    unsigned char operator[](uint32_t index) const { return static_cast<unsigned char>(bytes_[index]); }

private:
    std::vector<char> bytes_;
    uint32_t length_ = 0;
};
