#include "render/PlotAxisRgn.h"

#include "render/NumberFormat.h"
#include "render/PlotPaintContext.h"
#include "render/TickRun.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kMarkSpacing = 5; // marks closer than this to the last one are left out

std::string LabelText(const AxisScale::Tick& tick, double factor, const locale::Locale& locale) {
    if (tick.value > AxisScale::kMissingAbove) return "1/0";
    return NumberFormat::FormatNumber(tick.value * factor, 6, true, locale);
}

// The longest run of labels that would overlap the last label accepted before them.
int LongestOverlapRun(const std::vector<int>& pos, const std::vector<int>& widths) {
    int longest = 0, run = 0;
    int accepted = pos.empty() ? 0 : pos[0];
    for (std::size_t i = 1; i < pos.size(); ++i) {
        if (std::abs(pos[i] - accepted) < widths[i]) {
            longest = std::max(longest, ++run);
        } else {
            accepted = pos[i];
            run = 0;
        }
    }
    return longest;
}

} // namespace

TickRun TicksToDraw(const CPlotAxis& axis, float s) {
    TickRun run;
    if (axis.interval == 0) return run;
    const AxisScale::Division division = axis.Division();
    run.step = AxisScale::DrawnInterval(division);
    run.ticks = AxisScale::DrawnTicks(division, run.step);
    run.factor = AxisScale::LabelFactor(axis.multiplier, axis.multiplierType);
    run.t5 = static_cast<int>(5 * s);
    run.t3 = static_cast<int>(3 * s);
    return run;
}

CPlotAxisRgn::CPlotAxisRgn(int axisNo, int triKind)
    : CPlotRegion(axisNo == 0 ? XAxis : YAxis), axis(std::make_unique<CPlotAxis>(triKind)),
      axisNo(axisNo), triKind(triKind) {}

void CPlotAxisRgn::SetOrientation(int newTriKind) {
    triKind = newTriKind;
    axis->triKind = newTriKind;
}

const CPlotFont* CPlotAxisRgn::LabelFont(CPlotPaintContext& ctx) const {
    if (!upright || !font) return font;
    return &ctx.env.tool->DeriveFont(*font, 0, 90);
}

gdi::Size CPlotAxisRgn::Measure(CPlotPaintContext& ctx) {
    return ctx.env.MeasureText(font, ctx.dc, "0.0");
}

std::string CPlotAxisRgn::TickText(const AxisScale::Tick& tick, double factor, double step) {
    if (tick.value > AxisScale::kMissingAbove) return "1/0";
    return NumberFormat::TrimTrailingZeros(NumberFormat::FormatTickText(tick.value * factor, step));
}

void CPlotAxisRgn::Draw(CPlotPaintContext& ctx, bool force) {
    if (!ShouldDraw(ctx, force)) return;
    CPlotEnv& env = ctx.env;
    const gdi::Rect r = DeviceRect(ctx);
    // The axis line on the side that faces the drawing region.
    {
        gdi::StateScope state(ctx.dc);
        env.SelectColorPen(ctx.dc, ctx.foreColor, 1);
        if (upright) {
            ctx.dc.MoveTo(r.right, r.top);
            ctx.dc.LineTo(r.right, r.bottom);
        } else {
            ctx.dc.MoveTo(r.left, r.top - 1);
            ctx.dc.LineTo(r.right, r.top - 1);
        }
    }
    // Ticks and labels: an upright axis maps its own range to device y, whichever axis the
    // drawing mapping was made for; a horizontal one shares the drawing mapping's x.
    if (upright) {
        double lo = 0, hi = 1;
        axis->DrawnRange(lo, hi);
        const CScaleMap map = env.YMapFor(static_cast<float>(hi), static_cast<float>(lo));
        DrawTicks(ctx.dc, env, *axis, map, LabelFont(ctx), {0, r.right, true, skipOrigin},
                  ctx.foreColor);
    } else {
        DrawTicks(ctx.dc, env, *axis, env.XMap(), font, {r.bottom, r.top - 1, false, false},
                  ctx.foreColor);
    }
}

void CPlotAxisRgn::DrawTicks(gdi::IDeviceContext& dc, CPlotEnv& env, const CPlotAxis& axis,
                             CScaleMap map, const CPlotFont* font, const AxisTickPlace& place,
                             gdi::ColorRef foreColor) {
    // The ticks and where they land.
    const TickRun run = TicksToDraw(axis, env.scale);
    const std::vector<AxisScale::Tick>& ticks = run.ticks;
    if (ticks.empty()) return;
    const double step = run.step, factor = run.factor;
    const int t5 = run.t5, t3 = run.t3;
    std::vector<int> pos(ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i)
        pos[i] = map.Map(static_cast<float>(ticks[i].plot));

    gdi::StateScope state(dc);
    env.SelectColorPen(dc, foreColor, 1);
    dc.SetTextColor(foreColor);
    dc.SetBkMode(gdi::BackgroundMode::Transparent);

    // Pass 1: measure the labels for the overlap thinning, draw the marks.
    // The drawn label can be longer than the measured one ("150.0" against "150"): thinning
    // by the longer of the two keeps neighbouring labels from running into each other.
    std::vector<int> widths(ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i)
        widths[i] =
            std::max(env.MeasureText(font, dc, TickText(ticks[i], factor, axis.interval)).cx,
                     env.MeasureText(font, dc, LabelText(ticks[i], factor, env.locale)).cx);
    const int skip = LongestOverlapRun(pos, widths);

    const bool vertical = place.vertical;
    const int axisPos = place.axisPos;
    const std::size_t origin = axis.reversed ? ticks.size() - 1 : 0;
    int lastMark = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const bool omitted =
            vertical ? place.skipOrigin && i == origin : axis.triKind == 0 && i == origin;
        if (omitted || std::abs(pos[i] - lastMark) <= kMarkSpacing) continue;
        lastMark = pos[i];
        if (vertical) {
            dc.MoveTo(axisPos, pos[i]);
            dc.LineTo(axisPos + t5, pos[i]);
        } else if (axis.triKind == 1) {
            dc.MoveTo(pos[i] - t3, axisPos - t5);
            dc.LineTo(pos[i], axisPos);
            dc.LineTo(pos[i] + t3, axisPos - t5);
        } else {
            dc.MoveTo(pos[i], axisPos);
            dc.LineTo(pos[i], axisPos - t5);
        }
    }

    // Pass 2: every (skip + 1)-th label, counted from a multiple of the interval.
    env.SelectFont(dc, font);
    dc.SetTextAlign(vertical ? gdi::AlignBaseline | gdi::AlignCenter
                             : gdi::AlignBottom | gdi::AlignCenter);
    long long u = 0;
    if (skip > 0) {
        const double first = AxisScale::RoundHalfAway(ticks[0].plot / step);
        const double phase = std::fmod(std::fabs(first), skip + 1.0);
        u = std::isfinite(phase) ? static_cast<long long>(phase) : 0; // a broken tick list
        if (axis.triKind != 0) u += skip - 1;
    }
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        if (skip > 0 && (static_cast<long long>(i) - u) % (skip + 1) != 0) continue;
        if (place.skipOrigin && !axis.reversed && i == 0) continue;
        if (place.skipOrigin && axis.reversed && ticks[i].last) break;
        const std::string text = LabelText(ticks[i], factor, env.locale);
        if (vertical)
            dc.TextOut(axisPos + t3 - t5, pos[i], text);
        else
            dc.TextOut(pos[i], place.labelPos, text);
    }
}

int CPlotAxisRgn::HighEndLabelWidth(gdi::IDeviceContext& dc, const CPlotEnv& env,
                                    const CPlotAxis& axis, const CPlotFont* font) {
    const double value = axis.FromPlot(axis.reversed ? axis.plotMin : axis.plotMax);
    const std::string text = value > AxisScale::kMissingAbove
                                 ? std::string("1/0")
                                 : NumberFormat::FormatNumber(value, 6, true, env.locale);
    return env.MeasureText(font, dc, text).cx;
}
