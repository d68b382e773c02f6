#pragma once
#include "model/FontSetting.h"
#include "platform/gdi/DeviceContext.h"

#include <string>

// The page layout of a printed or previewed plot: a header line above it and a footer line
// below it, each switched on or off, aligned and in one font. The page-layout sheet edits it.
struct LayoutSetting {
    static constexpr char kFontFace[] = "Times New Roman";
    static constexpr int kFontSize = 12;

    bool header = false, footer = false;
    int headerAlignment = 0, footerAlignment = 0; // 0 left, 1 centre, 2 right
    std::string headerText, footerText;
    FontSetting font{kFontFace, kFontSize, 0};
    bool operator==(const LayoutSetting&) const = default;
};

// The header and footer of one page: the bands they take from it and their drawing. The font
// grows by scale (device units per logical pixel of the page), like the plot's.
class CPageDecoration {
public:
    CPageDecoration(const LayoutSetting& setting, float scale);
    // The part of page that is left to the plot.
    gdi::Rect PlotArea(gdi::IDeviceContext& dc, const gdi::Rect& page) const;
    // The two lines in their bands; header and footer are the texts to show.
    void Draw(gdi::IDeviceContext& dc, const gdi::Rect& page, const std::string& header,
              const std::string& footer) const;
    const LayoutSetting& Setting() const { return setting_; }

private:
    int LineHeight(gdi::IDeviceContext& dc) const;
    void DrawLine(gdi::IDeviceContext& dc, const gdi::Rect& band, const std::string& text,
                  int alignment) const;

    const LayoutSetting& setting_;
    gdi::Font font_;
};
