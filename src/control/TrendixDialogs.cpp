// The property pages and edit dialogs the control opens over itself.
#include "control/TrendixCtrl.h"

#include "control/TrendixModule.h"
#include "pages/PageCatalog.h"

#include <memory>
#include <vector>

namespace {

constexpr char kPropertiesCaption[] = "Trendix Control Properties";

} // namespace

void CTrendixCtrl::ShowPropertyPages() {
    using namespace PageCatalog;
    // The pages see this control only through its dispatch interface.
    const PlotState state = ReadState(*this, site_.UserMode());
    std::vector<std::unique_ptr<CControlPage>> pages;
    std::vector<ui::IPropertyPage*> shown;
    for (PageId id : ChoosePages(state)) {
        pages.push_back(MakePage(id, *this, site_));
        pages.back()->Activate();
        shown.push_back(pages.back().get());
    }
    site_.ShowPropertySheet(kPropertiesCaption, shown);
}
