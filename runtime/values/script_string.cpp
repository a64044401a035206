#include "script_string.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// The length field holds 32 bits, and the block of length + 2 bytes must be countable in a
// 32-bit size too: a longer value is refused, as an allocation that cannot be made is,
// instead of wrapping round to a short block that the copy would overrun.
constexpr uint64_t MaxLength = UINT32_MAX - 2;

uint32_t CheckedLength(uint64_t length)
{
    if (length > MaxLength)
        throw std::length_error("string value longer than 4 GiB");
    return static_cast<uint32_t>(length);
}

uint32_t TextLength(const char* text)
{
    return text ? CheckedLength(std::strlen(text)) : 0;
}

}  // namespace

char* ScriptString::NewBlock(uint32_t length)
{
    char* block = new char[static_cast<size_t>(length) + 2];
    block[length] = 0;
    block[length + 1] = 0;
    return block;
}

ScriptString::ScriptString(Adopt, char* block, uint32_t length) : length_(length), buffer_(block)
{
}

ScriptString::ScriptString() : ScriptString(Adopt{}, NewBlock(0), 0)
{
}

ScriptString::ScriptString(const char* text) : ScriptString(text, TextLength(text))
{
}

ScriptString::ScriptString(const char* bytes, uint32_t count)
    : ScriptString(Adopt{}, NewBlock(CheckedLength(count)), count)
{
    if (count > 0)
        std::memcpy(buffer_, bytes, count);
}

ScriptString::ScriptString(const ScriptString& other) : ScriptString(other.buffer_, other.length_)
{
}

ScriptString::ScriptString(ScriptString&& other) noexcept : ScriptString()
{
    std::swap(length_, other.length_);
    std::swap(buffer_, other.buffer_);
}

ScriptString& ScriptString::operator=(const ScriptString& other)
{
    Assign(other);
    return *this;
}

ScriptString& ScriptString::operator=(ScriptString&& other) noexcept
{
    std::swap(length_, other.length_);
    std::swap(buffer_, other.buffer_);
    return *this;
}

ScriptString::~ScriptString()
{
    delete[] buffer_;
}

void ScriptString::Replace(char* block, uint32_t length)
{
    delete[] buffer_;
    buffer_ = block;
    length_ = length;
}

void ScriptString::Assign(const char* text)
{
    uint32_t length = TextLength(text);
    char* block = NewBlock(length);
    if (length > 0)
        std::memcpy(block, text, length);
    Replace(block, length);
}

void ScriptString::Assign(const ScriptString& other)
{
    if (&other == this)
        return;
    char* block = NewBlock(other.length_);
    if (other.length_ > 0)
        std::memcpy(block, other.buffer_, other.length_);
    Replace(block, other.length_);
}

void ScriptString::Clear()
{
    Replace(NewBlock(0), 0);
}

void ScriptString::Append(const ScriptString& other)
{
    uint32_t length = CheckedLength(uint64_t{length_} + other.length_);
    char* block = NewBlock(length);
    std::memcpy(block, buffer_, length_);
    std::memcpy(block + length_, other.buffer_, other.length_);
    Replace(block, length);
}

void ScriptString::Append(const char* text)
{
    if (!text)
        return;
    uint32_t added = TextLength(text);
    uint32_t length = CheckedLength(uint64_t{length_} + added);
    char* block = NewBlock(length);
    std::memcpy(block, buffer_, length_);
    std::memcpy(block + length_, text, added);
    Replace(block, length);
}

void ScriptString::AppendChar(char byte)
{
    uint32_t length = CheckedLength(uint64_t{length_} + 1);
    char* block = NewBlock(length);
    std::memcpy(block, buffer_, length_);
    block[length_] = byte;
    Replace(block, length);
}

void ScriptString::Splice(uint32_t position, uint32_t count, const char* text)
{
    if (position > length_)
        position = length_;
    std::string joined(buffer_, position);
    joined += text ? text : "";
    if (count <= length_ - position)
        joined += buffer_ + position + count;  // up to its first zero byte
    Assign(joined.c_str());
}

int ScriptString::Compare(const char* text) const
{
    if (!text)
        return 1;
    const auto* mine = reinterpret_cast<const unsigned char*>(buffer_);
    const auto* theirs = reinterpret_cast<const unsigned char*>(text);
    for (;; ++mine, ++theirs) {
        if (*mine != *theirs)
            return *mine < *theirs ? -1 : 1;
        if (*mine == 0)
            return 0;
    }
}
