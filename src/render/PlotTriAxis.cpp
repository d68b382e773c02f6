#include "render/PlotTriAxis.h"

#include "platform/gdi/DeviceContext.h"
#include "render/NumberFormat.h"
#include "render/PlotEnv.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kLean = 0.5773; // tan 30°

std::string TickText(const CPlotAxis::Tick& tick, double factor, double step) {
    if (tick.value > 9e27) return "1/0";
    return NumberFormat::TrimTrailingZeros(NumberFormat::FormatTickText(tick.value * factor, step));
}

} // namespace

int CPlotTriAxis::SideX(int side, int axisPos, int labelPos, int y) const {
    if (triKind == 2 && side == 1) return axisPos;
    const int lean = static_cast<int>((y - labelPos) * kLean);
    return side == 1 ? axisPos - lean : axisPos + lean;
}

void CPlotTriAxis::DrawTicks(gdi::IDeviceContext& dc, CPlotEnv& env, const CPlotFont* font,
                             int side, int axisPos, int labelPos, gdi::ColorRef foreColor) const {
    // 1. The ticks between the corners (the walk leaves both ends out).
    if (interval == 0) return;
    const double step = DrawnInterval();
    const std::vector<Tick> ticks = DrawnTicks(step);
    if (ticks.empty()) return;
    const double factor = LabelFactor();
    const int t5 = static_cast<int>(5 * env.scale);
    const int t3 = static_cast<int>(3 * env.scale);
    const bool vertical = triKind == 2 && side == 1;

    gdi::StateScope state(dc);
    env.SelectColorPen(dc, foreColor, 1);
    dc.SetTextColor(foreColor);
    dc.SetBkMode(gdi::BackgroundMode::Transparent);
    env.SelectFont(dc, font);
    dc.SetTextAlign(gdi::AlignBaseline | (side == 1 ? gdi::AlignRight : gdi::AlignLeft));

    // 2. Marks point into the triangle, labels stand outside; a label that would overlap the
    // last one drawn is left out.
    int lastLabel = 0;
    bool haveLabel = false;
    for (const Tick& tick : ticks) {
        const int y = env.MapY(static_cast<float>(tick.plot));
        const int x = SideX(side, axisPos, labelPos, y);
        if (vertical) {
            dc.MoveTo(axisPos, y);
            dc.LineTo(axisPos + t5, y);
        } else {
            dc.MoveTo(x, y);
            dc.LineTo(side == 1 ? x + t5 : x - t5, y);
        }
        const std::string text = TickText(tick, factor, step);
        const int height = env.MeasureText(font, dc, text).cy;
        if (haveLabel && std::abs(y - lastLabel) < height) continue;
        const int lx = vertical ? axisPos + t3 - t5 : side == 1 ? x - t5 : x + t5;
        dc.TextOut(lx, y, text);
        lastLabel = y;
        haveLabel = true;
    }
}
