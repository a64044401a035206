#pragma once
// Bounds-checked reading of little- and big-endian fields from an untrusted byte span.

#include <cstddef>
#include <cstdint>
#include <span>

namespace picture_codecs {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t pos = 0) : bytes_(bytes), pos_(pos) {}

    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return pos_ < bytes_.size() ? bytes_.size() - pos_ : 0; }
    bool Has(std::size_t count) const { return Remaining() >= count; }
    // Reads past the end set the failure flag and yield zeros, so a parser can read a whole
    // header and check once.
    bool Failed() const { return failed_; }

    std::uint8_t U8()
    {
        if (!Has(1))
            return Fail();
        return bytes_[pos_++];
    }
    std::uint16_t U16le()
    {
        std::uint16_t lo = U8();
        return std::uint16_t(lo | (U8() << 8));
    }
    std::uint32_t U32le()
    {
        std::uint32_t lo = U16le();
        return lo | (std::uint32_t(U16le()) << 16);
    }
    std::uint16_t U16be()
    {
        std::uint16_t hi = U8();
        return std::uint16_t((hi << 8) | U8());
    }
    std::uint32_t U32be()
    {
        std::uint32_t hi = U16be();
        return (hi << 16) | U16be();
    }
    void Skip(std::size_t count)
    {
        if (!Has(count)) {
            pos_ = bytes_.size();
            failed_ = true;
            return;
        }
        pos_ += count;
    }
    void Seek(std::size_t pos)
    {
        if (pos > bytes_.size()) {
            pos_ = bytes_.size();
            failed_ = true;
            return;
        }
        pos_ = pos;
    }
    std::span<const std::uint8_t> Take(std::size_t count)
    {
        if (!Has(count)) {
            Skip(count);
            return {};
        }
        auto part = bytes_.subspan(pos_, count);
        pos_ += count;
        return part;
    }

private:
    std::uint8_t Fail()
    {
        failed_ = true;
        return 0;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_;
    bool failed_ = false;
};

}  // namespace picture_codecs
