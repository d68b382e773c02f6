#pragma once
#include "pages/ControlPage.h"

#include <array>

// The "Font" page: face, size, style and underscore of the title, label, axis scale and
// legend fonts.
class CFontPage : public CControlPage {
public:
    CFontPage(com::IDispatch& control, ui::IWindowSite& site);
    void Activate() override;

    // A font as SetFont takes it; attrib = underscore x 4 + style.
    struct Font {
        std::string face;
        int size = 0;
        int attrib = 0;
        bool operator==(const Font&) const = default;
    };

private:
    void OnEdit(const std::string& caption) override;
    void DoApply() override;
    void Show(int category);
    Font ReadFont(int id);

    std::array<Font, 4> fonts_{};
    int shown_ = 0;
};
