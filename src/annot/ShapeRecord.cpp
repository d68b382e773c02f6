// The byte record of shapes and paths: little-endian fields, every count and length checked
// against what remains before anything is made.
#include "annot/ShapeRecord.h"

#include "annot/PlotDisplay.h"
#include "annot/PlotPath.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::size_t kMaxShapes = 1'000'000;
constexpr std::size_t kMaxClassName = 32;
// The smallest record a shape can have: the common fields and a class name's length.
constexpr std::size_t kSmallestShape = 67 + 4;

} // namespace

// ---------------------------------------------------------------------------------------------
// Writer

void CShapeWriter::Bytes(std::uint32_t v, int count) {
    for (int i = 0; i < count; ++i)
        out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void CShapeWriter::F32(float v) {
    U32(std::bit_cast<std::uint32_t>(v));
}

void CShapeWriter::Str(const std::string& s) {
    U32(static_cast<std::uint32_t>(s.size()));
    out_.insert(out_.end(), s.begin(), s.end());
}

// ---------------------------------------------------------------------------------------------
// Reader

bool CShapeReader::Take(std::size_t n, const std::uint8_t*& at) {
    if (!ok_ || n > Remaining()) {
        ok_ = false;
        return false;
    }
    at = in_.data() + pos_;
    pos_ += n;
    return true;
}

bool CShapeReader::U8(std::uint8_t& v) {
    const std::uint8_t* at = nullptr;
    if (!Take(1, at)) return false;
    v = at[0];
    return true;
}

bool CShapeReader::U32(std::uint32_t& v) {
    const std::uint8_t* at = nullptr;
    if (!Take(4, at)) return false;
    v = std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 |
        std::uint32_t(at[3]) << 24;
    return true;
}

bool CShapeReader::I16(std::int16_t& v) {
    const std::uint8_t* at = nullptr;
    if (!Take(2, at)) return false;
    v = static_cast<std::int16_t>(std::uint16_t(at[0] | at[1] << 8));
    return true;
}

bool CShapeReader::I32(std::int32_t& v) {
    std::uint32_t u = 0;
    if (!U32(u)) return false;
    v = static_cast<std::int32_t>(u);
    return true;
}

bool CShapeReader::F32(float& v) {
    std::uint32_t u = 0;
    if (!U32(u)) return false;
    v = std::bit_cast<float>(u);
    return true;
}

bool CShapeReader::Field(char& v) {
    std::uint8_t u = 0;
    if (!U8(u)) return false;
    v = static_cast<char>(u);
    return true;
}

bool CShapeReader::Str(std::string& s, std::size_t maxLength) {
    std::uint32_t n = 0;
    if (!U32(n)) return false;
    const std::uint8_t* at = nullptr;
    if (n > maxLength) ok_ = false;
    if (!Take(n, at)) return false;
    s.assign(reinterpret_cast<const char*>(at), n);
    return true;
}

bool CShapeReader::Count(std::uint32_t& n, std::size_t itemSize, std::size_t maxCount) {
    if (!U32(n)) return false;
    // Each item needs at least itemSize bytes: a count that cannot fit is refused up front.
    if (n > maxCount || (itemSize > 0 && n > Remaining() / itemSize)) ok_ = false;
    return ok_;
}

// ---------------------------------------------------------------------------------------------
// Lists of shapes

std::unique_ptr<CPlotDisplay> MakeShapeOfClass(const std::string& className) {
    if (className == "CPlotLine") return std::make_unique<CPlotLine>(0.0f, 0.0f);
    if (className == "CPlotBox") return std::make_unique<CPlotBox>(CPlotDisplay::kBox, 0.0f, 0.0f);
    if (className == "CPlotEllipse")
        return std::make_unique<CPlotEllipse>(CPlotDisplay::kWholeEllipse, 0.0f, 0.0f);
    if (className == "CPlotArc") return std::make_unique<CPlotArc>(0.0f, 0.0f);
    if (className == "CPlotPoint") return std::make_unique<CPlotPoint>(0.0f, 0.0f, 0, 1);
    if (className == "CPlotPolygon") return std::make_unique<CPlotPolygon>(0.0f, 0.0f, true);
    if (className == "CPlotText")
        return std::make_unique<CPlotText>(0.0f, 0.0f, std::string(), std::string(), 0.0f);
    if (className == "CPlotPath") return std::make_unique<CPlotPath>();
    return nullptr;
}

void WriteShapes(std::span<const std::unique_ptr<CPlotDisplay>> shapes,
                 std::vector<std::uint8_t>& out) {
    CShapeWriter w(out);
    w.U32(static_cast<std::uint32_t>(shapes.size()));
    for (const auto& shape : shapes) {
        w.Str(shape->ClassName());
        shape->Write(w);
    }
}

bool ReadShapes(std::span<const std::uint8_t> in, std::size_t& pos,
                std::vector<std::unique_ptr<CPlotDisplay>>& shapes) {
    if (pos > in.size()) return false;
    CShapeReader r(in.subspan(pos));
    std::uint32_t n = 0;
    if (!r.Count(n, kSmallestShape, kMaxShapes)) return false;
    // Everything is read aside first: a refusal leaves the caller's list as it was.
    std::vector<std::unique_ptr<CPlotDisplay>> read;
    read.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        std::string className;
        if (!r.Str(className, kMaxClassName)) return false;
        std::unique_ptr<CPlotDisplay> shape = MakeShapeOfClass(className);
        if (!shape || !shape->Read(r)) return false;
        read.push_back(std::move(shape));
    }
    for (auto& shape : read)
        shapes.push_back(std::move(shape));
    pos += r.Position();
    return true;
}
