#include "pages/TrendixPropPage.h"

#include "pages/ControlMembers.h"

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kPlotType[] = "Plot Type";
constexpr char kMultiY[] = "Multi-Y axis";
constexpr char kRunPlot[] = "Run Plot";
constexpr char kUseVariable[] = "Use Variable";
constexpr char kVariables[] = "No. of Variables";
constexpr char kInputFile[] = "Input File";
constexpr char kBrowse[] = "Browse...";
constexpr char kPlotFileFilter[] = "K5 plot file (*.plx)|*.plx";
constexpr int kMaxVariables = 999;

} // namespace

CTrendixPropPage::CTrendixPropPage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Config", control, site) {
    Add(Radio(kPlotType, {"Line Graph", "Bar Graph", "Triangular Plot"}, kPlotType), "0");
    Add(Check(kMultiY), "0");
    Add(Check(kRunPlot), "0");
    Add(Check(kUseVariable), "0");
    Add(Integer(kVariables, 1, kMaxVariables), "1");
    Add(Text(kInputFile));
    Add(Button(kBrowse));
}

void CTrendixPropPage::Activate() {
    // Both triangular orientations show as "Triangular Plot".
    plotType_ = control_.Int(M::PlotType);
    Set(kPlotType, std::to_string(plotType_ >= 2 ? 2 : plotType_));
    Set(kMultiY, control_.Bool(M::MultiYaxis) ? "1" : "0");
    Set(kRunPlot, control_.Bool(M::RunPlot) ? "1" : "0");
    Set(kUseVariable, control_.Bool(M::UseVariable) ? "1" : "0");
    nvariables_ = control_.Int(M::nvariables);
    Set(kVariables, std::to_string(nvariables_));
    Set(kInputFile, control_.Text(M::InputFile));
}

void CTrendixPropPage::OnPress(const std::string& caption) {
    if (caption != kBrowse) return;
    const std::string path = site_.OpenFileDialog(kPlotFileFilter);
    if (!path.empty()) Set(kInputFile, path);
}

void CTrendixPropPage::DoApply() {
    const std::string file = Value(kInputFile);
    if (!file.empty()) {
        // A new input file defines the plot by itself.
        if (file != control_.Text(M::InputFile))
            control_.Put(M::InputFile, com::Variant::Str(file));
    } else {
        // "Triangular Plot" keeps the orientation the plot has.
        const int type = Index(kPlotType) == 2 && plotType_ == 3 ? 3 : Index(kPlotType);
        control_.Put(M::PlotType, CDispatchClient::I2(type));
        plotType_ = type;
        control_.Put(M::MultiYaxis, com::Variant::Bool(Checked(kMultiY)));
        const int n = Index(kVariables);
        if (n != nvariables_ && n >= 1 && n <= kMaxVariables) {
            control_.Put(M::nvariables, CDispatchClient::I2(n));
            nvariables_ = n;
        }
        control_.Put(M::RunPlot, com::Variant::Bool(Checked(kRunPlot)));
    }
    control_.Put(M::UseVariable, com::Variant::Bool(Checked(kUseVariable)));
}
