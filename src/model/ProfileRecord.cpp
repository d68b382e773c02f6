#include "model/ProfileRecord.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// Bounds-checked little-endian access to a block; a field that does not lie inside the block
// sets failed and reads as zero.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::byte> bytes) : bytes_(bytes) {}
    bool failed = false;

    std::uint64_t Unsigned(size_t offset, size_t width) {
        if (!Inside(offset, width)) return 0;
        std::uint64_t value = 0;
        for (size_t i = width; i-- > 0;)
            value = (value << 8) | std::to_integer<std::uint64_t>(bytes_[offset + i]);
        return value;
    }
    std::int32_t Int(size_t offset) { return std::int32_t(std::uint32_t(Unsigned(offset, 4))); }
    double Double(size_t offset) { return std::bit_cast<double>(Unsigned(offset, 8)); }
    std::string Text(size_t offset, size_t width) {
        if (!Inside(offset, width)) return {};
        const char* p = reinterpret_cast<const char*>(bytes_.data() + offset);
        return CProfileRecord::FitField(std::string_view(p, width), width);
    }

private:
    bool Inside(size_t offset, size_t width) {
        if (offset <= bytes_.size() && width <= bytes_.size() - offset) return true;
        failed = true;
        return false;
    }
    std::span<const std::byte> bytes_;
};

class FieldWriter {
public:
    explicit FieldWriter(std::vector<std::byte>& bytes) : bytes_(bytes) {}
    void Unsigned(size_t offset, std::uint64_t value, size_t width) {
        for (size_t i = 0; i < width; ++i)
            bytes_.at(offset + i) = std::byte((value >> (8 * i)) & 0xFF);
    }
    void Int(size_t offset, std::int32_t value) { Unsigned(offset, std::uint32_t(value), 4); }
    void Double(size_t offset, double value) {
        Unsigned(offset, std::bit_cast<std::uint64_t>(value), 8);
    }
    void Text(size_t offset, const std::string& text, size_t width) {
        const std::string fitted = CProfileRecord::FitField(text, width);
        for (size_t i = 0; i < fitted.size(); ++i)
            bytes_.at(offset + i) = std::byte(static_cast<unsigned char>(fitted[i]));
    }

private:
    std::vector<std::byte>& bytes_;
};

} // namespace

std::string CProfileRecord::FitField(std::string_view text, size_t width) {
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    return std::string(text.substr(0, width ? width - 1 : 0));
}

std::int64_t CProfileRecord::ValueCount() const {
    if (numpoints < 0 || numindep < 0 || numdep < 0) return -1;
    const std::int64_t n = (std::int64_t(numindep) + numdep) * numpoints;
    return n <= kMaxValues ? n : -1;
}

bool CProfileRecord::CountsValid() const {
    return numdep <= kMaxDep && numindep <= kMaxIndep && ValueCount() >= 0;
}

double CProfileRecord::Value(std::int64_t index) const {
    return index >= 0 && std::uint64_t(index) < values.size() ? values[size_t(index)] : 0.0;
}

std::vector<std::byte> CProfileRecord::ToBytes() const {
    const std::int64_t n = hasValues ? std::max<std::int64_t>(ValueCount(), 0) : 0;
    std::vector<std::byte> bytes(kHeaderSize + size_t(n) * 8);
    FieldWriter w(bytes);
    w.Text(kTitleOffset, title, kTitleWidth);
    w.Text(kIndepLabOffset, indeplab, kIndepLabWidth);
    for (size_t k = 0; k < kMaxDep; ++k) {
        w.Text(kDepLabOffset + k * kDepLabWidth, deplab[k], kDepLabWidth);
        w.Text(kDepLegOffset + k * kDepLegWidth, depleg[k], kDepLegWidth);
        w.Int(kDepScaleOffset + k * 4, depscale[k]);
        w.Int(kDepIntOffset + k * 4, depint[k]);
        w.Double(kDepLowOffset + k * 8, deplow[k]);
        w.Double(kDepHighOffset + k * 8, dephigh[k]);
    }
    w.Int(kNumPointsOffset, numpoints);
    w.Int(kNumIndepOffset, numindep);
    w.Int(kNumDepOffset, numdep);
    w.Int(kIndepScaleOffset, indepscale);
    w.Int(kIndepIntOffset, indepint);
    w.Int(kMultiYOffset, multiy);
    w.Double(kIndepLowOffset, indeplow);
    w.Double(kIndepHighOffset, indephigh);
    for (std::int64_t i = 0; i < n; ++i)
        w.Double(kHeaderSize + size_t(i) * 8, Value(i));
    return bytes;
}

bool CProfileRecord::FromBytes(std::span<const std::byte> bytes, bool withValues,
                               CProfileRecord& out) {
    FieldReader r(bytes);
    CProfileRecord rec;
    rec.numpoints = r.Int(kNumPointsOffset);
    rec.numindep = r.Int(kNumIndepOffset);
    rec.numdep = r.Int(kNumDepOffset);
    if (r.failed || bytes.size() < kHeaderSize || !rec.CountsValid()) return false;
    const std::int64_t n = withValues ? rec.ValueCount() : 0;
    if (std::uint64_t(n) > (bytes.size() - kHeaderSize) / 8) return false;

    rec.title = r.Text(kTitleOffset, kTitleWidth);
    rec.indeplab = r.Text(kIndepLabOffset, kIndepLabWidth);
    for (size_t k = 0; k < kMaxDep; ++k) {
        rec.deplab[k] = r.Text(kDepLabOffset + k * kDepLabWidth, kDepLabWidth);
        rec.depleg[k] = r.Text(kDepLegOffset + k * kDepLegWidth, kDepLegWidth);
        rec.depscale[k] = r.Int(kDepScaleOffset + k * 4);
        rec.depint[k] = r.Int(kDepIntOffset + k * 4);
        rec.deplow[k] = r.Double(kDepLowOffset + k * 8);
        rec.dephigh[k] = r.Double(kDepHighOffset + k * 8);
    }
    rec.indepscale = r.Int(kIndepScaleOffset);
    rec.indepint = r.Int(kIndepIntOffset);
    rec.multiy = r.Int(kMultiYOffset);
    rec.indeplow = r.Double(kIndepLowOffset);
    rec.indephigh = r.Double(kIndepHighOffset);
    rec.hasValues = withValues;
    rec.values.resize(size_t(n));
    for (std::int64_t i = 0; i < n; ++i)
        rec.values[size_t(i)] = r.Double(kHeaderSize + size_t(i) * 8);
    if (r.failed) return false;
    out = std::move(rec);
    return true;
}
