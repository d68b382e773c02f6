#pragma once
#include "pages/PageModel.h"

#include <memory>
#include <vector>

// The pages of one edit sheet, owned by it and activated as they are added; a sheet's own
// class adds its pages over the setting record they edit.
class CPlotPropSheet {
public:
    CPlotPropSheet() = default;
    virtual ~CPlotPropSheet() = default;
    CPlotPropSheet(const CPlotPropSheet&) = delete;
    CPlotPropSheet& operator=(const CPlotPropSheet&) = delete;

    // The pages in their order, for the site to show.
    std::vector<ui::IPropertyPage*> Pages() const {
        std::vector<ui::IPropertyPage*> pages;
        for (const auto& page : pages_)
            pages.push_back(page.get());
        return pages;
    }

protected:
    void AddPage(std::unique_ptr<CPageModel> page) {
        page->Activate();
        pages_.push_back(std::move(page));
    }

private:
    std::vector<std::unique_ptr<CPageModel>> pages_;
};
