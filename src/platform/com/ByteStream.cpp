#include "platform/com/ByteStream.h"

#include <bit>
#include <cstring>

namespace {

// Fields are little-endian whatever the machine's order.
std::uint64_t Swapped(std::uint64_t v, int bytes) {
    if constexpr (std::endian::native == std::endian::little) return v;
    std::uint64_t out = 0;
    for (int i = 0; i < bytes; ++i)
        out |= ((v >> (8 * i)) & 0xFF) << (8 * (bytes - 1 - i));
    return out;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Writing

void CByteWriter::I16(std::int16_t v) {
    const auto u = std::uint16_t(v);
    bytes_.push_back(std::uint8_t(u & 0xFF));
    bytes_.push_back(std::uint8_t(u >> 8));
}

void CByteWriter::F32(float v) {
    U32(std::bit_cast<std::uint32_t>(v));
}

void CByteWriter::U32(std::uint32_t v) {
    v = std::uint32_t(Swapped(v, 4));
    const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
    bytes_.insert(bytes_.end(), p, p + 4);
}

void CByteWriter::F64(double v) {
    const std::uint64_t bits = Swapped(std::bit_cast<std::uint64_t>(v), 8);
    const auto* p = reinterpret_cast<const std::uint8_t*>(&bits);
    bytes_.insert(bytes_.end(), p, p + 8);
}

void CByteWriter::Blob(std::span<const std::uint8_t> data) {
    U32(std::uint32_t(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void CByteWriter::String(const std::string& text) {
    Blob({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

void CByteWriter::Doubles(std::span<const double> values) {
    U32(std::uint32_t(values.size()));
    const std::size_t at = bytes_.size();
    bytes_.resize(at + values.size() * 8);
    if constexpr (std::endian::native == std::endian::little) {
        if (!values.empty()) std::memcpy(bytes_.data() + at, values.data(), values.size() * 8);
    } else {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::uint64_t bits = Swapped(std::bit_cast<std::uint64_t>(values[i]), 8);
            std::memcpy(bytes_.data() + at + 8 * i, &bits, 8);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Reading

std::span<const std::uint8_t> CByteReader::Take(std::size_t n) {
    if (n > Remaining()) throw Malformed("the image ends inside a field");
    const std::span<const std::uint8_t> piece = data_.subspan(at_, n);
    at_ += n;
    return piece;
}

std::uint8_t CByteReader::U8() {
    return Take(1)[0];
}

std::int16_t CByteReader::I16() {
    const std::span<const std::uint8_t> b = Take(2);
    return std::int16_t(std::uint16_t(b[0] | b[1] << 8));
}

float CByteReader::F32() {
    return std::bit_cast<float>(U32());
}

std::uint32_t CByteReader::U32() {
    std::uint32_t v = 0;
    std::memcpy(&v, Take(4).data(), 4);
    return std::uint32_t(Swapped(v, 4));
}

double CByteReader::F64() {
    std::uint64_t bits = 0;
    std::memcpy(&bits, Take(8).data(), 8);
    return std::bit_cast<double>(Swapped(bits, 8));
}

bool CByteReader::Flag() {
    const std::uint8_t v = U8();
    if (v > 1) throw Malformed("a flag is neither 0 nor 1");
    return v == 1;
}

std::uint32_t CByteReader::Count(std::size_t itemBytes) {
    const std::uint32_t n = U32();
    if (itemBytes > 0 && n > Remaining() / itemBytes)
        throw Malformed("a count is larger than the rest of the image can hold");
    return n;
}

std::vector<std::uint8_t> CByteReader::Blob() {
    const std::span<const std::uint8_t> piece = Take(Count(1));
    return {piece.begin(), piece.end()};
}

std::string CByteReader::String(std::size_t maxLength) {
    const std::uint32_t n = Count(1);
    if (n > maxLength) throw Malformed("a text is longer than its field allows");
    const std::span<const std::uint8_t> piece = Take(n);
    return {reinterpret_cast<const char*>(piece.data()), piece.size()};
}

std::vector<double> CByteReader::Doubles() {
    const std::uint32_t n = Count(8);
    const std::span<const std::uint8_t> piece = Take(std::size_t(n) * 8);
    std::vector<double> values(n);
    if (n) std::memcpy(values.data(), piece.data(), piece.size());
    if constexpr (std::endian::native != std::endian::little)
        for (double& v : values)
            v = std::bit_cast<double>(Swapped(std::bit_cast<std::uint64_t>(v), 8));
    return values;
}

void CByteReader::ExpectEnd() const {
    if (Remaining() != 0) throw Malformed("bytes follow the end of the image");
}
