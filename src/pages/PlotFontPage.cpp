#include "pages/PlotFontPage.h"

#include "pages/ControlPage.h"
#include "pages/PickTables.h"

#include <algorithm>
#include <optional>

using namespace PageFields;

namespace {

constexpr int kStyleBits = 3;     // italic and bold
constexpr int kUnderscoreBit = 4; // underline

} // namespace

CPlotFontPage::CPlotFontPage(FontSetting& setting, ui::IWindowSite& site)
    : CPageModel("Font", site), setting_(setting) {
    ui::Field face = Text(kFace);
    face.sample = ui::Sample::FontFamily;
    Add(face);
    Add(Integer(kSize, 1, PickTables::kMaxFontSize));
    Add(Choice(kStyle, {"Regular", "Italic", "Bold", "BoldItalic"}));
    Add(Check(kUnderscore));
}

void CPlotFontPage::Activate() {
    Set(kFace, setting_.face);
    Set(kSize, std::to_string(setting_.size));
    Set(kStyle, std::to_string(setting_.style & kStyleBits));
    Set(kUnderscore, setting_.style & kUnderscoreBit ? "1" : "0");
}

void CPlotFontPage::DoApply() {
    if (!Value(kFace).empty()) setting_.face = Value(kFace);
    const std::optional<double> size = ParseNumber(Value(kSize));
    if (size && *size >= 1 && *size <= PickTables::kMaxFontSize) setting_.size = int(*size);
    setting_.style =
        std::clamp(Index(kStyle), 0, kStyleBits) | (Checked(kUnderscore) ? kUnderscoreBit : 0);
}
