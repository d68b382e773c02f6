#pragma once
#include "pages/ControlPage.h"

// The "Attribute" pages: the drawing attributes of each variable, chosen from pick lists
// drawn as samples. The line page edits colour, marker and line type; the bar page edits fill
// colour, outline colour and fill type (hatch).
class CAttribPage : public CControlPage {
public:
    enum class Kind { Lines, Bars };
    CAttribPage(Kind kind, com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

private:
    // One variable's attribute record as SetAttribute takes it.
    struct Record {
        int type = 0, marker = 0, color = 0;
    };
    void OnEdit(const std::string& caption) override;
    void DoApply() override;
    void ShowRecord(int variable);
    int TypeIndex(int type) const;
    int TypeOf(int index) const;

    Kind kind_;
    std::vector<Record> records_;
};

// The bar page under its own class name.
class CBarAttribPage : public CAttribPage {
public:
    CBarAttribPage(com::IDispatch& control, ui::IWindowSite& site)
        : CAttribPage(Kind::Bars, control, site) {}
};
