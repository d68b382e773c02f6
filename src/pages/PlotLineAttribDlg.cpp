#include "pages/PlotLineAttribDlg.h"

#include "pages/ControlPage.h"
#include "pages/PickTables.h"

#include <algorithm>
#include <optional>

using namespace PageFields;
using namespace PickTables;

namespace {

constexpr int kLastDirection = 2;

// A spin's value within its range, or the old value when the edit holds no number.
int SpinValue(const std::optional<double>& v, int low, int high, int old) {
    return v ? int(std::clamp(*v, double(low), double(high))) : old;
}

} // namespace

CPlotLineAttribDlg::CPlotLineAttribDlg(const LineAttribSetting& setting, bool arrowPlace,
                                       ui::IWindowSite& site)
    : CPageModel(kCaption, site), setting_(setting), arrowPlace_(arrowPlace) {
    Add(Choice(kColor, Samples(kColourCount), ui::Sample::Colour));
    Add(Choice(kMarker, Samples(kMarkerCount, {"none"}), ui::Sample::Marker));
    Add(Choice(kLine, LineEntries(), ui::Sample::Line));
    Add(Integer(kInterval, 0, kMaxInterval));
    Add(Integer(kSize, 0, kMaxMarkerSize));
    Add(Radio(kDirection, {"No Arrow", "  >>>", "  <<<"}));
    if (arrowPlace_) Add(Radio(kArrowAt, {"End", "Middle"}));
}

void CPlotLineAttribDlg::Activate() {
    Set(kColor, std::to_string(setting_.color));
    Set(kMarker, std::to_string(setting_.marker));
    Set(kLine, std::to_string(LineChoice(setting_.lineType)));
    Set(kInterval, std::to_string(setting_.markerInterval));
    Set(kSize, std::to_string(setting_.markerSize));
    Set(kDirection, std::to_string(setting_.direction));
    if (arrowPlace_) Set(kArrowAt, std::to_string(setting_.arrowAt));
}

void CPlotLineAttribDlg::DoApply() {
    setting_.color = std::clamp(Index(kColor), 0, kColourCount - 1);
    setting_.marker = std::clamp(Index(kMarker), 0, kMarkerCount - 1);
    setting_.lineType = LineTypeOf(std::clamp(Index(kLine), 0, kNoLineChoice));
    setting_.markerInterval =
        SpinValue(ParseNumber(Value(kInterval)), 0, kMaxInterval, setting_.markerInterval);
    setting_.markerSize =
        SpinValue(ParseNumber(Value(kSize)), 0, kMaxMarkerSize, setting_.markerSize);
    setting_.direction = std::clamp(Index(kDirection), 0, kLastDirection);
    if (arrowPlace_) setting_.arrowAt = std::clamp(Index(kArrowAt), 0, 1);
}
