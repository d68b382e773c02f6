// The header and footer printed around a plot.
#include "model/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace {

// Alignments of the page-layout sheet.
enum Alignment { kLeft = 0, kCentre = 1, kRight = 2 };

} // namespace

CPageDecoration::CPageDecoration(const LayoutSetting& setting, float scale) : setting_(setting) {
    font_.face = setting.font.face.empty() ? LayoutSetting::kFontFace : setting.font.face;
    const int points = setting.font.size > 0 ? setting.font.size : LayoutSetting::kFontSize;
    const double pixels = double(gdi::PixelHeightFromPoints(points)) * double(scale);
    font_.pixelHeight = std::max(1, int(std::lround(pixels)));
    font_.style = setting.font.style;
}

int CPageDecoration::LineHeight(gdi::IDeviceContext& dc) const {
    gdi::StateScope state(dc);
    dc.SelectFont(font_);
    return std::max(dc.GetTextMetrics().height, 1);
}

// A line takes its own height and half of it above and below.
gdi::Rect CPageDecoration::PlotArea(gdi::IDeviceContext& dc, const gdi::Rect& page) const {
    gdi::Rect area = page;
    if (!setting_.header && !setting_.footer) return area;
    const int band = 2 * LineHeight(dc);
    if (setting_.header) area.top += band;
    if (setting_.footer) area.bottom -= band;
    // A page too small for its lines keeps a plot of no height rather than a negative one.
    area.bottom = std::max(area.bottom, area.top);
    return area;
}

void CPageDecoration::Draw(gdi::IDeviceContext& dc, const gdi::Rect& page,
                           const std::string& header, const std::string& footer) const {
    if (!setting_.header && !setting_.footer) return;
    const int line = LineHeight(dc);
    if (setting_.header)
        DrawLine(dc, {page.left, page.top, page.right, page.top + 2 * line}, header,
                 setting_.headerAlignment);
    if (setting_.footer)
        DrawLine(dc, {page.left, page.bottom - 2 * line, page.right, page.bottom}, footer,
                 setting_.footerAlignment);
}

void CPageDecoration::DrawLine(gdi::IDeviceContext& dc, const gdi::Rect& band,
                               const std::string& text, int alignment) const {
    if (text.empty()) return;
    gdi::StateScope state(dc);
    dc.SelectFont(font_);
    dc.SetTextColor(0);
    dc.SetBkMode(gdi::BackgroundMode::Transparent);
    const int line = band.Height() / 2;
    const int y = band.top + line / 2;
    // The side margins are one line high.
    switch (alignment) {
    case kCentre:
        dc.SetTextAlign(gdi::AlignCenter | gdi::AlignTop);
        dc.TextOut((band.left + band.right) / 2, y, text);
        break;
    case kRight:
        dc.SetTextAlign(gdi::AlignRight | gdi::AlignTop);
        dc.TextOut(band.right - line, y, text);
        break;
    case kLeft:
    default:
        dc.SetTextAlign(gdi::AlignLeft | gdi::AlignTop);
        dc.TextOut(band.left + line, y, text);
        break;
    }
}
