#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Little-endian fields of a binary record: the plot image and the shapes' record inside it.
// The writer appends; the reader takes fields from untrusted bytes and checks every one, every
// count and every length against what remains before it allocates anything, throwing
// CByteReader::Malformed at the first that does not fit.
class CByteWriter {
public:
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void I16(std::int16_t v);
    void U32(std::uint32_t v);
    void I32(std::int32_t v) { U32(std::uint32_t(v)); }
    void F32(float v);
    void F64(double v);
    // A length and the bytes.
    void Blob(std::span<const std::uint8_t> data);
    void String(const std::string& text);
    // A count and the doubles.
    void Doubles(std::span<const double> values);
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

class CByteReader {
public:
    struct Malformed : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    explicit CByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::uint8_t U8();
    std::int16_t I16();
    std::uint32_t U32();
    std::int32_t I32() { return std::int32_t(U32()); }
    float F32();
    double F64();
    // A 0 or 1 written as U8; anything else is refused.
    bool Flag();
    std::vector<std::uint8_t> Blob();
    // A string no longer than maxLength.
    std::string String(std::size_t maxLength = SIZE_MAX);
    std::vector<double> Doubles();
    // A count of items that take at least itemBytes each: refused when that many cannot
    // follow in what remains.
    std::uint32_t Count(std::size_t itemBytes);
    std::size_t Remaining() const { return data_.size() - at_; }
    std::size_t Position() const { return at_; }
    // The image must end exactly here.
    void ExpectEnd() const;

private:
    std::span<const std::uint8_t> Take(std::size_t n);
    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
};
