#pragma once
#include "platform/gdi/DeviceContext.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gdi {

// One call made on a RecordingDC: its name, its integer arguments in order and its text.
struct RecordedCall {
    std::string name;
    std::vector<long long> args;
    std::string text;

    // "Name(a,b,c)" or "Name(a,b,"text")".
    std::string Describe() const;
    bool IsDrawing() const;
};

// A device that records every call as data and keeps the state a real device would, so that
// drawing code can be tested exactly. Text metrics are fixed: every character is
// (pixelHeight + 1) / 2 wide, a line is pixelHeight high with a descent of pixelHeight / 5.
class RecordingDC : public IDeviceContext {
public:
    explicit RecordingDC(int width = 1000, int height = 1000, DeviceKind kind = DeviceKind::Screen);

    const std::vector<RecordedCall>& Calls() const { return calls_; }
    // Descriptions of the drawing calls only (text, lines, shapes, fills, copies).
    std::vector<std::string> Drawing() const;
    // Descriptions of every call with the given name.
    std::vector<std::string> CallsNamed(std::string_view name) const;
    void Clear() { calls_.clear(); }
    // From now on each drawing call is written to out as its description and a line feed, and
    // no call is kept (Calls and Drawing stay empty): the picture of a plot of millions of
    // points without a record per call.
    void WriteDrawingTo(std::vector<std::uint8_t>& out) { drawingOut_ = &out; }
    Point CurrentPosition() const { return state_.position; }
    ColorRef TextColor() const { return state_.textColor; }
    RasterOp Rop2() const override { return state_.rop; }
    BackgroundMode BkMode() const { return state_.bkMode; }
    unsigned TextAlign() const { return state_.align; }
    int SavedLevels() const { return static_cast<int>(saved_.size()); }

    static int CharWidth(int pixelHeight) { return (pixelHeight + 1) / 2; }

    DeviceKind Kind() const override { return kind_; }
    Size SurfaceSize() const override { return size_; }
    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(const Brush& brush) override;
    Font SelectFont(const Font& font) override;
    const Pen& CurrentPen() const override { return state_.pen; }
    const Brush& CurrentBrush() const override { return state_.brush; }
    const Font& CurrentFont() const override { return state_.font; }
    ColorRef SetTextColor(ColorRef color) override;
    ColorRef SetBkColor(ColorRef color) override;
    BackgroundMode SetBkMode(BackgroundMode mode) override;
    RasterOp SetRop2(RasterOp op) override;
    unsigned SetTextAlign(unsigned flags) override;
    void TextOut(int x, int y, std::string_view text) override;
    Size GetTextExtent(std::string_view text) override;
    TextMetrics GetTextMetrics() override;
    Point MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(std::span<const Point> points) override;
    void Polygon(std::span<const Point> points) override;
    void Rectangle(const Rect& r) override;
    void Ellipse(const Rect& r) override;
    void Arc(const Rect& r, Point start, Point end) override;
    void Chord(const Rect& r, Point start, Point end) override;
    void FillSolidRect(const Rect& r, ColorRef color) override;
    void IntersectClipRect(const Rect& r) override;
    void SelectClipRect(const Rect& r) override;
    void SelectClipPolygon(std::span<const Point> points) override;
    void ResetClip() override;
    Rect GetClipBox() const override { return state_.clip; }
    int SaveDC() override;
    void RestoreDC(int level) override;
    void BitBlt(int x, int y, int width, int height, IDeviceContext& source, int srcX,
                int srcY) override;
    std::unique_ptr<IDeviceContext> CreateCompatible(int width, int height) override;

private:
    struct State {
        Pen pen;
        Brush brush;
        Font font;
        ColorRef textColor = 0;
        ColorRef bkColor = 0xFFFFFF;
        BackgroundMode bkMode = BackgroundMode::Opaque;
        RasterOp rop = RasterOp::CopyPen;
        unsigned align = AlignLeft | AlignTop;
        Point position;
        Rect clip;
    };

    void Record(std::string_view name, std::span<const long long> args, std::string_view text = {});
    void Record(std::string_view name, std::initializer_list<long long> args,
                std::string_view text = {}) {
        Record(name, std::span<const long long>(args.begin(), args.size()), text);
    }
    void RecordRect(const char* name, const Rect& r);
    void RecordPoints(const char* name, std::span<const Point> points);

    DeviceKind kind_;
    Size size_;
    State state_;
    std::vector<State> saved_;
    std::vector<RecordedCall> calls_;
    std::vector<std::uint8_t>* drawingOut_ = nullptr;
};

} // namespace gdi
