#include "pages/PlotPolygonAttribDlg.h"

#include "pages/ControlPage.h"
#include "pages/PickTables.h"

#include <algorithm>

using namespace PageFields;
using namespace PickTables;

namespace {

// The hatch list: the fill types, then "(no fill)" for an outline only.
std::vector<std::string> HatchEntries() {
    std::vector<std::string> e = FillEntries();
    e.push_back("(no fill)");
    return e;
}
constexpr int kNoFillChoice = kFillTypes;
constexpr int kNoFill = -1;

} // namespace

CPlotPolygonAttribDlg::CPlotPolygonAttribDlg(const PolygonAttribSetting& setting,
                                             ui::IWindowSite& site)
    : CPageModel(kCaption, site), setting_(setting) {
    Add(Choice(kColor, Samples(kColourCount), ui::Sample::Colour));
    Add(Choice(kHatch, HatchEntries(), ui::Sample::Hatch));
}

void CPlotPolygonAttribDlg::Activate() {
    Set(kColor, std::to_string(setting_.color));
    const int hatch =
        setting_.hatch < 0 || setting_.hatch >= kFillTypes ? kNoFillChoice : setting_.hatch;
    Set(kHatch, std::to_string(hatch));
}

void CPlotPolygonAttribDlg::DoApply() {
    setting_.color = std::clamp(Index(kColor), 0, kColourCount - 1);
    const int hatch = std::clamp(Index(kHatch), 0, kNoFillChoice);
    setting_.hatch = hatch == kNoFillChoice ? kNoFill : hatch;
}
