#pragma once
#include "platform/com/ByteStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CPlotDisplay;

// The fields of a shape's record, written through the byte stream of the plot image.
class CShapeWriter {
public:
    explicit CShapeWriter(CByteWriter& out) : out_(out) {}
    void U8(std::uint8_t v) { out_.U8(v); }
    void I16(std::int16_t v) { out_.I16(v); }
    void I32(std::int32_t v) { out_.I32(v); }
    void U32(std::uint32_t v) { out_.U32(v); }
    void F32(float v) { out_.F32(v); }
    // A 32-bit length, then the bytes.
    void Str(const std::string& s) { out_.String(s); }
    // A field by its type.
    void Field(std::uint8_t v) { U8(v); }
    void Field(char v) { U8(static_cast<std::uint8_t>(v)); }
    void Field(std::int16_t v) { I16(v); }
    void Field(std::int32_t v) { I32(v); }
    void Field(std::uint32_t v) { U32(v); }
    void Field(float v) { F32(v); }

private:
    CByteWriter& out_;
};

// The fields of a shape's record, read through the checked byte reader of the plot image. A
// read past the end fails, leaves the value alone and makes every later read fail too, so a
// record is checked once at its end.
class CShapeReader {
public:
    explicit CShapeReader(std::span<const std::uint8_t> in) : in_(in) {}
    bool U8(std::uint8_t& v);
    bool I16(std::int16_t& v);
    bool I32(std::int32_t& v);
    bool U32(std::uint32_t& v);
    bool F32(float& v);
    // A field by its type.
    bool Field(std::uint8_t& v) { return U8(v); }
    bool Field(char& v);
    bool Field(std::int16_t& v) { return I16(v); }
    bool Field(std::int32_t& v) { return I32(v); }
    bool Field(std::uint32_t& v) { return U32(v); }
    bool Field(float& v) { return F32(v); }
    // Refused when the length exceeds what remains or maxLength.
    bool Str(std::string& s, std::size_t maxLength = kMaxString);
    // A count of items each at least itemSize bytes long: refused when they cannot all fit
    // in what remains or the count exceeds maxCount.
    bool Count(std::uint32_t& n, std::size_t itemSize, std::size_t maxCount);
    bool Ok() const { return ok_; }
    std::size_t Remaining() const { return in_.Remaining(); }
    std::size_t Position() const { return in_.Position(); }

    static constexpr std::size_t kMaxString = 1 << 20;

private:
    // Runs one read of the byte reader; a refusal fails this and every later read.
    template <typename Read>
    bool Try(Read read);
    CByteReader in_;
    bool ok_ = true;
};

// The record of a list of shapes (paths included): a count, then each shape as its class
// name and its fields. The binary image of the control carries it.
void WriteShapes(std::span<const std::unique_ptr<CPlotDisplay>> shapes,
                 std::vector<std::uint8_t>& out);
// Reads a record that WriteShapes wrote, starting at `pos`. On success the shapes are
// appended to `shapes` and `pos` moves past the record; a truncated record, an unknown class
// or an absurd count is refused as a whole: false, with `shapes` and `pos` untouched.
bool ReadShapes(std::span<const std::uint8_t> in, std::size_t& pos,
                std::vector<std::unique_ptr<CPlotDisplay>>& shapes);
// One shape of the class name, made empty for reading; null for an unknown name.
std::unique_ptr<CPlotDisplay> MakeShapeOfClass(const std::string& className);
