#include "pages/PageCatalog.h"

#include "pages/AttribPage.h"
#include "pages/AxisMapPage.h"
#include "pages/AxisPage.h"
#include "pages/ControlMembers.h"
#include "pages/DataPage.h"
#include "pages/FontPage.h"
#include "pages/GridPage.h"
#include "pages/LabelPage.h"
#include "pages/LegendPage.h"
#include "pages/RunplotPage.h"
#include "pages/TrendixPropPage.h"
#include "pages/VariablePage.h"

namespace PageCatalog {

namespace M = ControlMembers;

PlotState ReadState(com::IDispatch& control, bool userMode) {
    CDispatchClient c(control);
    PlotState s;
    s.userMode = userMode;
    const int type = c.Int(M::PlotType);
    s.barGraph = type == 1;
    s.triangular = type == 2 || type == 3;
    s.runPlot = c.Bool(M::RunPlot);
    s.phasePlot = c.Call(M::GetPhasePlot, {}).boolean();
    s.useVariable = c.Bool(M::UseVariable);
    return s;
}

std::vector<PageId> ChoosePages(const PlotState& s) {
    std::vector<PageId> pages;
    if (!s.userMode) pages.push_back(PageId::Config);
    pages.push_back(s.barGraph ? PageId::BarAttrib : PageId::Attrib);
    if (!s.runPlot) pages.push_back(PageId::Legend);
    if (!s.triangular) pages.push_back(PageId::AxisMap);
    pages.push_back(PageId::Label);
    if (!s.triangular) pages.push_back(PageId::Axis);
    if (s.runPlot || s.phasePlot) {
        pages.push_back(PageId::RunGrid);
        pages.push_back(PageId::Data);
    } else {
        pages.push_back(s.triangular ? PageId::TriGrid : PageId::Grid);
    }
    if (s.runPlot) pages.push_back(PageId::Runplot);
    if (s.useVariable) pages.push_back(PageId::Variable);
    pages.push_back(PageId::Font);
    return pages;
}

std::unique_ptr<CControlPage> MakePage(PageId id, com::IDispatch& control, ui::IWindowSite& site) {
    switch (id) {
    case PageId::Config:
        return std::make_unique<CTrendixPropPage>(control, site);
    case PageId::Attrib:
        return std::make_unique<CAttribPage>(CAttribPage::Kind::Lines, control, site);
    case PageId::BarAttrib:
        return std::make_unique<CBarAttribPage>(control, site);
    case PageId::Legend:
        return std::make_unique<CLegendPage>(control, site);
    case PageId::AxisMap:
        return std::make_unique<CAxisMapPage>(control, site);
    case PageId::Label:
        return std::make_unique<CLabelPage>(control, site);
    case PageId::Axis:
        return std::make_unique<CAxisPage>(control, site);
    case PageId::Grid:
        return std::make_unique<CGridPage>(control, site);
    case PageId::RunGrid:
        return std::make_unique<CRunGridPage>(control, site);
    case PageId::TriGrid:
        return std::make_unique<CTriGridPage>(control, site);
    case PageId::Data:
        return std::make_unique<CDataPage>(control, site);
    case PageId::Runplot:
        return std::make_unique<CRunplotPage>(control, site);
    case PageId::Variable:
        return std::make_unique<CVariablePage>(control, site);
    case PageId::Font:
        return std::make_unique<CFontPage>(control, site);
    }
    return nullptr;
}

const PageClass& ClassOf(PageId id) {
    for (const PageClass& c : kPageClasses)
        if (c.id == id) return c;
    return kPageClasses.front();
}

} // namespace PageCatalog
