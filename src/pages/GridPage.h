#pragma once
#include "pages/ControlPage.h"

// The "Grid" pages: grid, display of lines and markers, marker size and interval; the page of
// line and bar plots adds flip, square plot, diagonal and zero line, the triangular page the
// coordinate system and the grid interval. Run and phase plots get the common part alone.
class CGridPage : public CControlPage {
public:
    enum class Kind { Plain, Run, Triangular };
    CGridPage(Kind kind, com::IDispatch& control, ui::IWindowSite& site);
    CGridPage(com::IDispatch& control, ui::IWindowSite& site)
        : CGridPage(Kind::Plain, control, site) {}
    void Activate() override;

    // The value mappings of the two radio groups.
    static int DisplayTypeOf(int choice) { return (choice + 2) % 3; }
    static int DisplayChoiceOf(int displayType) { return (displayType + 1) % 3; }
    static int GridTypeOf(int choice);
    static int GridChoiceOf(int gridType);

private:
    void DoApply() override;
    Kind kind_;
    bool flipped_ = false, square_ = false, diagonal_ = false, bars_ = false;
};

class CRunGridPage : public CGridPage {
public:
    CRunGridPage(com::IDispatch& control, ui::IWindowSite& site)
        : CGridPage(Kind::Run, control, site) {}
};

class CTriGridPage : public CGridPage {
public:
    CTriGridPage(com::IDispatch& control, ui::IWindowSite& site)
        : CGridPage(Kind::Triangular, control, site) {}
};
