#pragma once
#include "pages/ControlPage.h"

#include <array>
#include <memory>
#include <vector>

// The control's property pages: their classes as registered, which of them a plot offers and
// in what order, and the page models made for a control.
namespace PageCatalog {

enum class PageId {
    Config,
    Attrib,
    BarAttrib,
    Legend,
    AxisMap,
    Label,
    Axis,
    Grid,
    RunGrid,
    TriGrid,
    Data,
    Runplot,
    Variable,
    Font,
};

struct PageClass {
    PageId id;
    const char* progId; // registered exactly so: the case differs on purpose
    const char* caption;
};

inline constexpr std::array<PageClass, 14> kPageClasses = {{
    {PageId::Config, "TRENDIX.TrendixPropPage.250", "Config"},
    {PageId::Attrib, "trendix.CAttribPage", "Attribute"},
    {PageId::BarAttrib, "trendix.CBarAttribPage", "Attribute"},
    {PageId::Legend, "trendix.CLegendPage", "Legend"},
    {PageId::AxisMap, "trendix.CAxisMapPage", "AxisMap"},
    {PageId::Label, "trendix.CLabelPage", "Label"},
    {PageId::Axis, "TRENDIX.CAxisPage", "Axis"},
    {PageId::Grid, "trendix.CGridPage", "Grid"},
    {PageId::RunGrid, "trendix.CRunGridPage", "Grid"},
    {PageId::TriGrid, "trendix.CTriGridPage", "Grid"},
    {PageId::Data, "trendix.CDataPage", "Data"},
    {PageId::Runplot, "trendix.CRunplotPage", "Runtime"},
    {PageId::Variable, "TRENDIX.CVariablePage", "Variable"},
    {PageId::Font, "trendix.CFontPage", "Font"},
}};

// What decides the pages offered.
struct PlotState {
    bool userMode = false; // the container's ambient user mode: false at design time
    bool barGraph = false;
    bool triangular = false;
    bool runPlot = false;
    bool phasePlot = false;
    bool useVariable = false;
};

// Reads the state through the control's dispatch interface.
PlotState ReadState(com::IDispatch& control, bool userMode);
// The pages offered, in the order shown.
std::vector<PageId> ChoosePages(const PlotState& state);
// A page model for the control, not yet activated.
std::unique_ptr<CControlPage> MakePage(PageId id, com::IDispatch& control, ui::IWindowSite& site);
const PageClass& ClassOf(PageId id);

} // namespace PageCatalog
