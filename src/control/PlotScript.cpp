#include "control/PlotScript.h"

#include "model/NumberText.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <optional>

using com::InvokeKind;
using com::Variant;

namespace {

std::string Lower(std::string_view s) {
    std::string lower(s);
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Truncated toward zero and kept inside the target's range (NaN reads as 0).
double Truncated(double x, double lo, double hi) {
    if (std::isnan(x)) return 0;
    return std::trunc(std::fmax(lo, std::fmin(hi, x)));
}

Variant I2(double x) {
    return Variant::I2(std::int16_t(Truncated(x, -32768, 32767)));
}
Variant I4(double x) {
    return Variant::I4(std::int32_t(Truncated(x, -2147483648.0, 2147483647.0)));
}
Variant R8(double x) {
    return Variant::R8(x);
}
Variant Text(const std::string& s) {
    return Variant::Str(s);
}

// A text argument without any double quote has no value: the line is skipped rather than
// passing an empty text, which would silently wipe a title or label.
class MissingText {};

} // namespace

bool CPlotScript::Run(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    return Run(in);
}

// Lines of at most kLineLength characters; carriage returns and line feeds are removed. A
// read error (a folder) sets the stream's bad bit and ends the script.
bool CPlotScript::Run(std::istream& in) {
    std::string line;
    size_t lines = 0, bytes = 0;
    auto run = [&] {
        if (++lines > kMaxLines)
            throw com::DispatchError::InvalidArg("A script may hold at most " +
                                                 std::to_string(kMaxLines) + " lines");
        RunLine(line);
        line.clear();
    };
    char c = 0;
    while (in.get(c)) {
        if (++bytes > kMaxBytes)
            throw com::DispatchError::InvalidArg("A script may hold at most " +
                                                 std::to_string(kMaxBytes >> 20) + " MiB");
        if (c != '\n') line += c;
        if (c == '\n' || line.size() == kLineLength) run();
    }
    if (!line.empty()) run();
    return !in.bad();
}

void CPlotScript::RunLine(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && CNumberText::IsBlank(value.front()))
        value.remove_prefix(1);
    if (value.empty()) return;
    const std::string key = Lower(line.substr(0, colon));
    Arguments a(value);
    try {
        if (key == "plottype")
            Put("PlotType", I2(a.Number()));
        else if (key == "usevariable")
            Put("UseVariable", I2(a.Number()));
        else if (key == "runplot")
            Put("RunPlot", I2(a.Number()));
        else if (key == "phaseplot")
            Method("SetPhasePlot", {I2(a.Number())});
        else if (key == "timewindow")
            Put("TimeWindow", R8(a.Number()));
        else if (key == "timescrollunit")
            Put("TimeScrollUnit", R8(a.Number()));
        else if (key == "buffersize")
            Put("BufferSize", I4(a.Number()));
        else if (key == "timestamp")
            Put("AddTimeStamp", Variant::Bool(true));
        else if (key == "title")
            Put("Title", Text(a.Text()));
        else if (key == "xlabel")
            Put("xlabel", Text(a.Text()));
        else if (key == "ylabel")
            Put("ylabel", Text(a.Text()));
        else if (key == "nvariables")
            Put("nvariables", I2(a.Number()));
        else if (key == "npoints")
            Put("npoints", I2(a.Number()));
        else if (key == "setaxismap") {
            const double v = a.Number(), axis = a.Number();
            Method("SetAxisMap", {I2(v), I2(axis)});
        } else if (key == "setaxisrange") {
            const double axis = a.Number(), lo = a.Number(), hi = a.Number();
            Method("SetAxisRange", {I2(axis), R8(lo), R8(hi)});
        } else if (key == "setlabel") {
            const double axis = a.Number();
            Method("SetLabel", {I2(axis), Text(a.Text())});
        } else if (key == "setlegend") {
            const double v = a.Number();
            Method("SetLegend", {I2(v), Text(a.Text())});
        } else if (key == "setxydata") {
            const double k = a.Number(), x = a.Number(), y = a.Number();
            Method("SetXYData", {Variant::I2(lastObject_), I2(k), R8(x), R8(y)});
        } else if (key == "newline") {
            const double color = a.Number(), type = a.Number(), marker = a.Number();
            const double size = a.Number(), direction = a.Number();
            const Variant id =
                Method("NewLine", {I2(color), I2(type), I2(marker), I2(size), I2(direction)});
            lastObject_ = com::Coerce(id, com::VarType::I2).i2();
        } else if (key == "newpolygon") {
            const double color = a.Number(), fill = a.Number();
            lastObject_ =
                com::Coerce(Method("NewPolygon", {I2(color), I2(fill)}), com::VarType::I2).i2();
        } else if (key == "newtext") {
            const std::string text = a.Text();
            const double x = a.Number(), y = a.Number(), attached = a.Number();
            const Variant id = Method("NewText", {Text(text), R8(x), R8(y), I2(attached)});
            lastObject_ = com::Coerce(id, com::VarType::I2).i2();
        } else if (key == "settextattribute") {
            const double color = a.Number(), alignment = a.Number(), angle = a.Number();
            const std::string font = a.Text();
            const double size = a.Number(), style = a.Number();
            Method("SetTextAttribute", {Variant::I2(lastObject_), I2(color), I2(alignment),
                                        I2(angle), Text(font), I2(size), I2(style)});
        } else if (key == "setobject") {
            const double value = a.Number(), mask = a.Number();
            Method("SetObject", {Variant::I2(lastObject_), I2(value), I2(mask)});
        }
        // Unknown keys are ignored.
    } catch (const MissingText&) {
    }
}

void CPlotScript::Call(std::string_view member, InvokeKind kind,
                       std::initializer_list<Variant> args) {
    std::vector<Variant> list(args);
    control_.Invoke(control_.GetIDOfName(member), kind, list);
}

void CPlotScript::Put(std::string_view property, Variant value) {
    Call(property, InvokeKind::PropertyPut, {std::move(value)});
}

Variant CPlotScript::Method(std::string_view member, std::initializer_list<Variant> args) {
    std::vector<Variant> list(args);
    return control_.Invoke(control_.GetIDOfName(member), InvokeKind::Method, list);
}

// A number is read with atof after skipping blanks and ends at the next blank; a missing
// number reads as 0.
double CPlotScript::Arguments::Number() {
    while (pos_ < text_.size() && CNumberText::IsBlank(text_[pos_]))
        ++pos_;
    size_t end = pos_;
    while (end < text_.size() && !CNumberText::IsBlank(text_[end]))
        ++end;
    const double value = CNumberText::ToDouble(text_.substr(pos_, end - pos_));
    pos_ = end;
    return value;
}

// The text between the next pair of double quotes, up to the end of the line when the closing
// quote is missing.
std::string CPlotScript::Arguments::Text() {
    const size_t open = text_.find('"', pos_);
    if (open == std::string_view::npos) throw MissingText();
    const size_t close = text_.find('"', open + 1);
    const size_t end = close == std::string_view::npos ? text_.size() : close;
    pos_ = close == std::string_view::npos ? text_.size() : close + 1;
    return std::string(text_.substr(open + 1, end - open - 1));
}
