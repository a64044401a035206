#pragma once
// The script's string value: an owned, exactly sized, zero-terminated block of
// Windows-1252 bytes. Every change allocates a new block; there is no spare capacity.

#include <cstdint>
#include <string_view>

class ScriptString {
public:
    ScriptString();
    ScriptString(const char* text);  // NOLINT: literals convert implicitly, as in the script
    ScriptString(const char* bytes, uint32_t count);
    ScriptString(const ScriptString& other);
    ScriptString(ScriptString&& other) noexcept;
    ScriptString& operator=(const ScriptString& other);
    ScriptString& operator=(ScriptString&& other) noexcept;
    ~ScriptString();

    void Assign(const char* text);
    void Assign(const ScriptString& other);
    void Clear();
    void Append(const ScriptString& other);
    void Append(const char* text);
    void AppendChar(char byte);
    // Removes `count` bytes at the 0-based `position` and inserts `text` there. The result
    // ends at its first zero byte.
    void Splice(uint32_t position, uint32_t count, const char* text);
    // -1, 0 or 1, comparing unsigned bytes up to the first zero byte; 1 for a null text.
    int Compare(const char* text) const;

    uint32_t Length() const { return length_; }
    const char* Text() const { return buffer_; }
    std::string_view View() const { return {buffer_, length_}; }
    unsigned char operator[](uint32_t index) const { return static_cast<unsigned char>(buffer_[index]); }

private:
    struct Adopt {};
    // Takes ownership of a block of exactly length + 2 bytes.
    ScriptString(Adopt, char* block, uint32_t length);
    static char* NewBlock(uint32_t length);
    void Replace(char* block, uint32_t length);

    uint32_t length_;
    char* buffer_;
};
