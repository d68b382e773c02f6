#pragma once
#include "pages/PageModel.h"

// The attributes of a line as the line dialog edits them.
struct LineAttribSetting {
    int color = 0;
    int marker = 0;
    int lineType = 0;       // -1: no line
    int markerInterval = 0; // 0: the plot's
    int markerSize = 0;     // 0: the plot's
    int direction = 0;      // 0 no arrow, 1 towards later points, 2 towards earlier ones
    int arrowAt = 0;        // 0 at the end, 1 in the middle
    bool operator==(const LineAttribSetting&) const = default;
};

// The "Attributes" dialog of a line: colour, marker and line type, the marker interval and
// size, and the arrow's direction and place. A line that has no arrow place (a host line
// draws its arrow at the end) is shown without "Arrow at".
class CPlotLineAttribDlg : public CPageModel {
public:
    static constexpr char kCaption[] = "Attributes";
    static constexpr char kColor[] = "Color";
    static constexpr char kMarker[] = "Marker";
    static constexpr char kLine[] = "Line";
    static constexpr char kInterval[] = "Interval";
    static constexpr char kSize[] = "Size";
    static constexpr char kDirection[] = "Direction";
    static constexpr char kArrowAt[] = "Arrow at";
    static constexpr int kMaxInterval = 999;
    static constexpr int kMaxMarkerSize = 99;

    CPlotLineAttribDlg(const LineAttribSetting& setting, bool arrowPlace, ui::IWindowSite& site);
    void Activate() override;
    // The attributes as the user left them (after an apply).
    const LineAttribSetting& Setting() const { return setting_; }

private:
    void DoApply() override;
    LineAttribSetting setting_;
    bool arrowPlace_;
};
