// The "Edit Text" dialog of a drawn text shape.
#include "pages/PlotTextDlg.h"

#include "pages/ControlPage.h"

#include <array>
#include <optional>

using namespace PageFields;

namespace {

constexpr char kText[] = "Text";
constexpr char kFace[] = "Font";
constexpr char kSize[] = "Size";
constexpr char kDirection[] = "Direction";
constexpr char kStyle[] = "Style";

// The directions in their order on the page, and the escapement of each.
constexpr std::array<int, 4> kEscapements = {0, 90, 180, 270};

// The style checks and their bits.
struct StyleCheck {
    const char* caption;
    int bit;
};
constexpr std::array<StyleCheck, 3> kStyleChecks = {{
    {"Italic", 1},
    {"Bold", 2},
    {"Underline", 4},
}};

} // namespace

CPlotTextDlg::CPlotTextDlg(const TextShapeSetting& setting, ui::IWindowSite& site)
    : CPageModel(kCaption, site), setting_(setting) {
    Add(Text(kText));
    ui::Field face = Text(kFace);
    face.sample = ui::Sample::FontFamily;
    Add(face);
    Add(Integer(kSize, 1, kMaxPoints));
    Add(Radio(kDirection, {"Right", "Up", "Left", "Down"}));
    for (const StyleCheck& check : kStyleChecks)
        Add(Check(check.caption, kStyle));
}

std::string CPlotTextDlg::EscapeBreaks(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i; // CR LF: one break
        out += "\\n";
    }
    return out;
}

std::string CPlotTextDlg::UnescapeBreaks(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += "\r\n";
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

void CPlotTextDlg::Activate() {
    Set(kText, EscapeBreaks(setting_.text));
    Set(kFace, setting_.face);
    Set(kSize, std::to_string(setting_.points));
    int direction = 0;
    for (std::size_t i = 0; i < kEscapements.size(); ++i)
        if (kEscapements[i] == setting_.escapement) direction = int(i);
    Set(kDirection, std::to_string(direction));
    for (const StyleCheck& check : kStyleChecks)
        Set(check.caption, (setting_.style & check.bit) ? "1" : "0");
}

void CPlotTextDlg::DoApply() {
    setting_.text = UnescapeBreaks(Value(kText));
    // A face left empty keeps the old one: a text without a face is not drawn.
    if (!Value(kFace).empty()) setting_.face = Value(kFace);
    const std::optional<double> points = ReadNumber(kSize);
    if (points && *points >= 1 && *points <= kMaxPoints) setting_.points = int(*points);
    const int direction = Index(kDirection);
    if (direction >= 0 && direction < int(kEscapements.size()))
        setting_.escapement = kEscapements[std::size_t(direction)];
    setting_.style = 0;
    for (const StyleCheck& check : kStyleChecks)
        if (Checked(check.caption)) setting_.style |= check.bit;
}
