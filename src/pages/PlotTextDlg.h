#pragma once
#include "pages/PageModel.h"

#include <string>

// What the text shape dialog edits.
struct TextShapeSetting {
    std::string text; // line breaks as CR LF, LF or CR
    std::string face;
    int points = 10;    // the size in points at the current view
    int escapement = 0; // 0, 90, 180 or 270 degrees
    int style = 0;      // bit 0 italic, bit 1 bold, bit 2 underline
    bool operator==(const TextShapeSetting&) const = default;
};

// The "Edit Text" dialog of a drawn text shape: its text, font face, size, direction and
// style. The one-line edit shows each line break as the two characters backslash and n, and
// turns them back into line breaks when applied.
class CPlotTextDlg : public CPageModel {
public:
    static constexpr char kCaption[] = "Edit Text";
    static constexpr int kMaxPoints = 999;

    CPlotTextDlg(const TextShapeSetting& setting, ui::IWindowSite& site);
    void Activate() override;
    const TextShapeSetting& Setting() const { return setting_; }

    // A text's line breaks as backslash-n pairs, and back.
    static std::string EscapeBreaks(const std::string& text);
    static std::string UnescapeBreaks(const std::string& text);

private:
    void DoApply() override;
    TextShapeSetting setting_;
};
