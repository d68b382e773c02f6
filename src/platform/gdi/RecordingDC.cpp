#include "platform/gdi/RecordingDC.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <utility>

namespace gdi {

namespace {

constexpr std::string_view kDrawingCalls[] = {"TextOut", "MoveTo",        "LineTo",  "Polyline",
                                              "Polygon", "Rectangle",     "Ellipse", "Arc",
                                              "Chord",   "FillSolidRect", "BitBlt"};

// Code points of UTF-8 text: continuation bytes do not start a character.
int CharacterCount(std::string_view text) {
    return static_cast<int>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

Rect BoundingBox(std::span<const Point> points) {
    if (points.empty()) return Rect{};
    Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const Point& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x + 1);
        box.bottom = std::max(box.bottom, p.y + 1);
    }
    return box;
}

bool IsDrawingCall(std::string_view name) {
    return std::find(std::begin(kDrawingCalls), std::end(kDrawingCalls), name) !=
           std::end(kDrawingCalls);
}

// "Name(a,b,c)" or "Name(a,b,"text")", appended to out (a string or a byte vector): written in
// place, as a picture of a large plot holds millions of them.
template <class Out>
void AppendDescription(Out& out, std::string_view name, std::span<const long long> args,
                       std::string_view text) {
    constexpr std::size_t kDigits = 21; // a long long and its comma
    const std::size_t start = out.size();
    out.resize(start + name.size() + 1 + args.size() * kDigits + 3 + text.size() + 1);
    char* const begin = reinterpret_cast<char*>(out.data()) + start;
    char* const end = reinterpret_cast<char*>(out.data()) + out.size();
    char* p = std::copy(name.begin(), name.end(), begin);
    *p++ = '(';
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) *p++ = ',';
        p = std::to_chars(p, end, args[i]).ptr;
    }
    if (!text.empty() || name == "TextOut") {
        if (!args.empty()) *p++ = ',';
        *p++ = '"';
        p = std::copy(text.begin(), text.end(), p);
        *p++ = '"';
    }
    *p++ = ')';
    out.resize(start + std::size_t(p - begin));
}

} // namespace

std::string RecordedCall::Describe() const {
    std::string s;
    AppendDescription(s, name, args, text);
    return s;
}

bool RecordedCall::IsDrawing() const {
    return IsDrawingCall(name);
}

RecordingDC::RecordingDC(int width, int height, DeviceKind kind)
    : kind_(kind), size_{width, height} {
    state_.clip = Rect{0, 0, width, height};
}

std::vector<std::string> RecordingDC::Drawing() const {
    std::vector<std::string> out;
    for (const RecordedCall& c : calls_)
        if (c.IsDrawing()) out.push_back(c.Describe());
    return out;
}

std::vector<std::string> RecordingDC::CallsNamed(std::string_view name) const {
    std::vector<std::string> out;
    for (const RecordedCall& c : calls_)
        if (c.name == name) out.push_back(c.Describe());
    return out;
}

void RecordingDC::Record(std::string_view name, std::span<const long long> args,
                         std::string_view text) {
    if (!drawingOut_) {
        calls_.push_back(
            RecordedCall{std::string(name), {args.begin(), args.end()}, std::string(text)});
    } else if (IsDrawingCall(name)) {
        AppendDescription(*drawingOut_, name, args, text);
        drawingOut_->push_back('\n');
    }
}

void RecordingDC::RecordRect(const char* name, const Rect& r) {
    Record(name, {r.left, r.top, r.right, r.bottom});
}

void RecordingDC::RecordPoints(const char* name, std::span<const Point> points) {
    std::vector<long long> args;
    args.reserve(points.size() * 2);
    for (const Point& p : points) {
        args.push_back(p.x);
        args.push_back(p.y);
    }
    Record(name, args);
}

Pen RecordingDC::SelectPen(const Pen& pen) {
    std::vector<long long> args{static_cast<long long>(pen.style), pen.width, pen.color};
    for (int i = 0; i < pen.dashCount; ++i)
        args.push_back(pen.dashes[i]);
    Record("SelectPen", std::move(args));
    return std::exchange(state_.pen, pen);
}

Brush RecordingDC::SelectBrush(const Brush& brush) {
    std::vector<long long> args{static_cast<long long>(brush.style), brush.color};
    if (brush.style == BrushStyle::Pattern)
        args.insert(args.end(), brush.pattern.begin(), brush.pattern.end());
    Record("SelectBrush", std::move(args));
    return std::exchange(state_.brush, brush);
}

Font RecordingDC::SelectFont(const Font& font) {
    Record("SelectFont", {font.pixelHeight, font.angle, font.style}, font.face);
    return std::exchange(state_.font, font);
}

ColorRef RecordingDC::SetTextColor(ColorRef color) {
    Record("SetTextColor", {color});
    return std::exchange(state_.textColor, color);
}

ColorRef RecordingDC::SetBkColor(ColorRef color) {
    Record("SetBkColor", {color});
    return std::exchange(state_.bkColor, color);
}

BackgroundMode RecordingDC::SetBkMode(BackgroundMode mode) {
    Record("SetBkMode", {static_cast<long long>(mode)});
    return std::exchange(state_.bkMode, mode);
}

RasterOp RecordingDC::SetRop2(RasterOp op) {
    Record("SetRop2", {static_cast<long long>(op)});
    return std::exchange(state_.rop, op);
}

unsigned RecordingDC::SetTextAlign(unsigned flags) {
    Record("SetTextAlign", {flags});
    return std::exchange(state_.align, flags);
}

void RecordingDC::TextOut(int x, int y, std::string_view text) {
    if (state_.align & AlignUpdateCP) {
        x = state_.position.x;
        y = state_.position.y;
        state_.position.x += GetTextExtent(text).cx;
    }
    Record("TextOut", {x, y}, text);
}

Size RecordingDC::GetTextExtent(std::string_view text) {
    const int h = state_.font.pixelHeight;
    // A text too wide for an int measures as wide as an int goes.
    const long long width = static_cast<long long>(CharacterCount(text)) * CharWidth(h);
    return Size{static_cast<int>(std::min<long long>(width, INT_MAX)), h};
}

TextMetrics RecordingDC::GetTextMetrics() {
    const int h = state_.font.pixelHeight;
    return TextMetrics{h, h - h / 5, h / 5};
}

Point RecordingDC::MoveTo(int x, int y) {
    Record("MoveTo", {x, y});
    return std::exchange(state_.position, Point{x, y});
}

void RecordingDC::LineTo(int x, int y) {
    Record("LineTo", {x, y});
    state_.position = Point{x, y};
}

void RecordingDC::Polyline(std::span<const Point> points) {
    RecordPoints("Polyline", points);
}

void RecordingDC::Polygon(std::span<const Point> points) {
    RecordPoints("Polygon", points);
}

void RecordingDC::Rectangle(const Rect& r) {
    if (r.IsEmpty()) return; // as on a real device: nothing to draw
    RecordRect("Rectangle", r);
}

void RecordingDC::Ellipse(const Rect& r) {
    if (r.IsEmpty()) return;
    RecordRect("Ellipse", r);
}

void RecordingDC::Arc(const Rect& r, Point start, Point end) {
    if (r.IsEmpty()) return;
    Record("Arc", {r.left, r.top, r.right, r.bottom, start.x, start.y, end.x, end.y});
}

void RecordingDC::Chord(const Rect& r, Point start, Point end) {
    if (r.IsEmpty()) return;
    Record("Chord", {r.left, r.top, r.right, r.bottom, start.x, start.y, end.x, end.y});
}

void RecordingDC::FillSolidRect(const Rect& r, ColorRef color) {
    if (r.IsEmpty()) return;
    Record("FillSolidRect", {r.left, r.top, r.right, r.bottom, color});
}

void RecordingDC::IntersectClipRect(const Rect& r) {
    RecordRect("IntersectClipRect", r);
    state_.clip = Intersect(state_.clip, r);
}

void RecordingDC::SelectClipRect(const Rect& r) {
    RecordRect("SelectClipRect", r);
    state_.clip = Intersect(Rect{0, 0, size_.cx, size_.cy}, r);
}

void RecordingDC::SelectClipPolygon(std::span<const Point> points) {
    RecordPoints("SelectClipPolygon", points);
    state_.clip = Intersect(Rect{0, 0, size_.cx, size_.cy}, BoundingBox(points));
}

void RecordingDC::ResetClip() {
    Record("ResetClip", {});
    state_.clip = Rect{0, 0, size_.cx, size_.cy};
}

int RecordingDC::SaveDC() {
    saved_.push_back(state_);
    Record("SaveDC", {});
    return static_cast<int>(saved_.size());
}

void RecordingDC::RestoreDC(int level) {
    Record("RestoreDC", {level});
    const int target = level < 0 ? static_cast<int>(saved_.size()) + level + 1 : level;
    if (target < 1 || target > static_cast<int>(saved_.size())) return;
    state_ = saved_[target - 1];
    saved_.resize(target - 1);
}

void RecordingDC::BitBlt(int x, int y, int width, int height, IDeviceContext& source, int srcX,
                         int srcY) {
    Record("BitBlt", {x, y, width, height, static_cast<long long>(source.Kind()), srcX, srcY});
}

std::unique_ptr<IDeviceContext> RecordingDC::CreateCompatible(int width, int height) {
    return std::make_unique<RecordingDC>(width, height, DeviceKind::Memory);
}

} // namespace gdi
