// The byte record of shapes and paths: the fields of the plot image's byte stream, every count
// and length checked against what remains before anything is made.
#include "annot/ShapeRecord.h"

#include "annot/PlotDisplay.h"
#include "annot/PlotPath.h"

namespace {

constexpr std::size_t kMaxShapes = 1'000'000;
constexpr std::size_t kMaxClassName = 32;
// The smallest record a shape can have: the common fields and a class name's length.
constexpr std::size_t kSmallestShape = 67 + 4;

} // namespace

// ---------------------------------------------------------------------------------------------
// Reader

template <typename Read>
bool CShapeReader::Try(Read read) {
    if (!ok_) return false;
    try {
        read();
        return true;
    } catch (const CByteReader::Malformed&) {
        ok_ = false;
        return false;
    }
}

bool CShapeReader::U8(std::uint8_t& v) {
    return Try([&] { v = in_.U8(); });
}

bool CShapeReader::I16(std::int16_t& v) {
    return Try([&] { v = in_.I16(); });
}

bool CShapeReader::I32(std::int32_t& v) {
    return Try([&] { v = in_.I32(); });
}

bool CShapeReader::U32(std::uint32_t& v) {
    return Try([&] { v = in_.U32(); });
}

bool CShapeReader::F32(float& v) {
    return Try([&] { v = in_.F32(); });
}

bool CShapeReader::Field(char& v) {
    return Try([&] { v = static_cast<char>(in_.U8()); });
}

bool CShapeReader::Str(std::string& s, std::size_t maxLength) {
    return Try([&] { s = in_.String(maxLength); });
}

bool CShapeReader::Count(std::uint32_t& n, std::size_t itemSize, std::size_t maxCount) {
    // Each item needs at least itemSize bytes: a count that cannot fit is refused up front.
    return Try([&] {
        const std::uint32_t count = in_.Count(itemSize);
        if (count > maxCount) throw CByteReader::Malformed("a count is larger than allowed");
        n = count;
    });
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
    CByteWriter bytes;
    CShapeWriter w(bytes);
    w.U32(static_cast<std::uint32_t>(shapes.size()));
    for (const auto& shape : shapes) {
        w.Str(shape->ClassName());
        shape->Write(w);
    }
    const std::vector<std::uint8_t> record = bytes.Take();
    out.insert(out.end(), record.begin(), record.end());
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
