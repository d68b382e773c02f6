#include "control/PlotImage.h"

#include "annot/PlotDisplay.h"
#include "annot/PlotOverlay.h"
#include "annot/ShapeRecord.h"
#include "platform/com/ByteStream.h"

#include <cmath>

namespace {

// The smallest encodings, for checking counts against what remains.
constexpr std::size_t kSymbolBytes = 8;                                // two empty strings
constexpr std::size_t kAxisBytes = sizeof(CPlotImage::AxisRanges) + 5; // and a flag, no ticks
constexpr std::size_t kLabelBytes = 8;                                 // two empty strings
constexpr std::size_t kVariableBytes = 16; // an empty name and three numbers
constexpr std::size_t kBufferBytes = 24;   // five numbers and an empty value count
// Two flags, an empty text, four positions, seven numbers and an empty font face.
constexpr std::size_t kAnnotationBytes = 2 + 4 + 4 * 8 + 7 * 4 + 4;
constexpr std::size_t kHostObjectBytes = 6 * 4 + 2; // six numbers and two flags

void WriteBuffer(CByteWriter& out, const CPlotVar::Buffer& b) {
    out.U32(b.ringMode);
    out.U32(b.ringCapacity);
    out.U32(b.highestIndex);
    out.U32(b.writePos);
    out.U32(b.wrapped);
    out.Doubles(b.values);
}

CPlotVar::Buffer ReadBuffer(CByteReader& in) {
    CPlotVar::Buffer b;
    b.ringMode = in.U32();
    b.ringCapacity = in.U32();
    b.highestIndex = in.U32();
    b.writePos = in.U32();
    b.wrapped = in.U32();
    b.values = in.Doubles();
    if (!b.Consistent()) throw CByteReader::Malformed("a sample buffer is inconsistent");
    return b;
}

void WriteBuffers(CByteWriter& out, const std::vector<CPlotVar::Buffer>& buffers) {
    out.U32(std::uint32_t(buffers.size()));
    for (const CPlotVar::Buffer& b : buffers)
        WriteBuffer(out, b);
}

std::vector<CPlotVar::Buffer> ReadBuffers(CByteReader& in) {
    const std::uint32_t n = in.Count(kBufferBytes);
    if (n > CPlotImage::kMaxItems) throw CByteReader::Malformed("too many variables");
    std::vector<CPlotVar::Buffer> buffers;
    buffers.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i)
        buffers.push_back(ReadBuffer(in));
    return buffers;
}

void WriteAnnotation(CByteWriter& out, const CPlotImage::Annotation& a) {
    out.U8(a.hidden ? 1 : 0);
    out.U8(a.timeStamp ? 1 : 0);
    const CPlotSettings::Annotation& r = a.record;
    out.String(r.text);
    for (double v : {r.x, r.y, r.dx, r.dy})
        out.F64(v);
    for (int v : {r.tagVariable, r.attachMode, r.color, r.angle, r.arrowSize, r.alignment,
                  r.transparentText})
        out.I32(v);
    out.String(r.fontFace);
    for (int v : {r.fontSize, r.fontAngle, r.fontStyle})
        out.I32(v);
}

CPlotImage::Annotation ReadAnnotation(CByteReader& in) {
    CPlotImage::Annotation a;
    a.hidden = in.Flag();
    a.timeStamp = in.Flag();
    CPlotSettings::Annotation& r = a.record;
    r.text = in.String();
    for (double* v : {&r.x, &r.y, &r.dx, &r.dy}) {
        *v = in.F64();
        if (!std::isfinite(*v)) throw CByteReader::Malformed("an annotation is nowhere");
    }
    for (int* v : {&r.tagVariable, &r.attachMode, &r.color, &r.angle, &r.arrowSize, &r.alignment,
                   &r.transparentText})
        *v = in.I32();
    r.fontFace = in.String();
    for (int* v : {&r.fontSize, &r.fontAngle, &r.fontStyle})
        *v = in.I32();
    r.placed = true;
    return a;
}

void WriteHostObjects(CByteWriter& out, const CPlotImage::HostObjects& h) {
    out.I32(h.nextNumber);
    out.U8(h.numbersWrapped ? 1 : 0);
    out.U32(std::uint32_t(h.annotations.size()));
    for (const CPlotImage::Annotation& a : h.annotations)
        WriteAnnotation(out, a);
    out.U32(std::uint32_t(h.objects.size()));
    for (const CPlotImage::HostObject& o : h.objects) {
        const CPlotObj::Record& r = o.record;
        for (int v : {r.id, r.kind})
            out.I32(v);
        out.U8(r.enabled ? 1 : 0);
        for (int v : {r.xVariable, r.yVariable, r.annotation})
            out.I32(v);
        out.U8(r.userText ? 1 : 0);
        out.I32(o.fill);
    }
}

// What can be known of the objects without a plot: their kinds, and IDs that the interface can
// name, each once.
CPlotImage::HostObjects ReadHostObjects(CByteReader& in) {
    CPlotImage::HostObjects h;
    h.nextNumber = in.I32();
    h.numbersWrapped = in.Flag();
    if (h.nextNumber < 0 || h.nextNumber > CObjectIds::kIdCount)
        throw CByteReader::Malformed("its object numbering is out of range");
    const std::uint32_t annotations = in.Count(kAnnotationBytes);
    if (annotations > CPlotImage::kMaxItems) throw CByteReader::Malformed("too many annotations");
    h.annotations.reserve(annotations);
    for (std::uint32_t i = 0; i < annotations; ++i)
        h.annotations.push_back(ReadAnnotation(in));
    const std::uint32_t objects = in.Count(kHostObjectBytes);
    if (objects > CPlotImage::kMaxItems) throw CByteReader::Malformed("too many host objects");
    h.objects.resize(objects);
    std::vector<bool> idTaken(CPlotImage::kMaxItems + 1, false);
    for (CPlotImage::HostObject& o : h.objects) {
        CPlotObj::Record& r = o.record;
        r.id = in.I32();
        r.kind = in.I32();
        r.enabled = in.Flag();
        r.xVariable = in.I32();
        r.yVariable = in.I32();
        r.annotation = in.I32();
        r.userText = in.Flag();
        o.fill = in.I32();
        if (r.id <= CPlotImage::kLastBuiltInId || r.id > std::int32_t(CPlotImage::kMaxItems))
            throw CByteReader::Malformed("a host object's ID is out of range");
        if (idTaken[std::size_t(r.id)])
            throw CByteReader::Malformed("two host objects share an ID");
        idTaken[std::size_t(r.id)] = true;
        if (r.kind < CPlotObj::PlainKind || r.kind > CPlotObj::TextKind)
            throw CByteReader::Malformed("a host object is of no known kind");
    }
    return h;
}

// A shapes record is read through whole and must end with the section.
bool ShapesRecordFits(std::span<const std::uint8_t> record) {
    std::vector<std::unique_ptr<CPlotDisplay>> shapes;
    std::size_t pos = 0;
    return ReadShapes(record, pos, shapes) && pos == record.size();
}

} // namespace

std::vector<std::uint8_t> CPlotImage::Encode(const Content& c) {
    CByteWriter out;
    out.U32(kSignature);
    out.U32(kFormat);
    out.Blob(c.propertySet);
    out.U32(c.phasePlot ? 1 : 0);
    out.I32(c.width);
    out.I32(c.height);
    out.String(c.substitution);
    out.String(c.settings);
    out.U32(std::uint32_t(c.labels.size()));
    for (const Label& l : c.labels) {
        out.String(l.text);
        out.String(l.substitution);
    }
    out.U32(std::uint32_t(c.variables.size()));
    for (const Variable& v : c.variables) {
        out.String(v.name);
        out.I32(v.axisNo);
        out.I32(v.xVarNo);
        out.I32(v.hidden);
    }
    for (std::int32_t v : c.modelState)
        out.I32(v);
    WriteHostObjects(out, c.hostObjects);
    out.U32(std::uint32_t(c.symbols.size()));
    for (const Symbol& s : c.symbols) {
        out.String(s.name);
        out.String(s.value);
    }
    out.Blob(c.shapes);
    out.U8(c.scrolled ? 1 : 0);
    out.U32(std::uint32_t(c.axes.size()));
    for (const Axis& a : c.axes) {
        for (double v : a.ranges)
            out.F64(v);
        out.U8(a.scaleDirty ? 1 : 0);
        out.Doubles(a.ticks);
    }
    WriteBuffers(out, c.xVariables);
    WriteBuffers(out, c.yVariables);
    return out.Take();
}

CPlotImage::Content CPlotImage::Decode(std::span<const std::uint8_t> image) {
    CByteReader in(image);
    if (in.U32() != kSignature) throw CByteReader::Malformed("not a plot image");
    if (in.U32() != kFormat) throw CByteReader::Malformed("an image of another format");
    Content c;
    c.propertySet = in.Blob();
    const std::uint32_t phase = in.U32();
    if (phase > 1) throw CByteReader::Malformed("the phase-plot flag is neither 0 nor 1");
    c.phasePlot = phase == 1;
    c.width = in.I32();
    c.height = in.I32();
    if (c.width < 0 || c.height < 0) throw CByteReader::Malformed("a negative size");
    c.substitution = in.String();
    c.settings = in.String();
    const std::uint32_t labels = in.Count(kLabelBytes);
    c.labels.resize(labels);
    for (Label& l : c.labels) {
        l.text = in.String();
        l.substitution = in.String();
    }
    const std::uint32_t variables = in.Count(kVariableBytes);
    if (variables > kMaxItems) throw CByteReader::Malformed("too many variables");
    c.variables.resize(variables);
    for (Variable& v : c.variables) {
        v.name = in.String();
        v.axisNo = in.I32();
        v.xVarNo = in.I32();
        v.hidden = in.I32();
    }
    for (std::int32_t& v : c.modelState)
        v = in.I32();
    c.hostObjects = ReadHostObjects(in);
    const std::uint32_t symbols = in.Count(kSymbolBytes);
    c.symbols.reserve(symbols);
    for (std::uint32_t i = 0; i < symbols; ++i) {
        Symbol s;
        s.name = in.String();
        s.value = in.String();
        c.symbols.push_back(std::move(s));
    }
    c.shapes = in.Blob();
    if (!ShapesRecordFits(c.shapes)) throw CByteReader::Malformed("its shapes cannot be read");
    c.scrolled = in.Flag();
    const std::uint32_t axes = in.Count(kAxisBytes);
    if (axes > kMaxItems) throw CByteReader::Malformed("too many axes");
    c.axes.resize(axes);
    for (Axis& a : c.axes) {
        for (double& v : a.ranges)
            v = in.F64();
        a.scaleDirty = in.Flag();
        a.ticks = in.Doubles();
        if (a.ticks.size() > kTickSlots) throw CByteReader::Malformed("a tick list is too long");
    }
    c.xVariables = ReadBuffers(in);
    c.yVariables = ReadBuffers(in);
    in.ExpectEnd();
    return c;
}
