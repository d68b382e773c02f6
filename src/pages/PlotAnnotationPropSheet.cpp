// The pages of the text sheet: text, colour, orientation and alignment; arrow and
// attachment; font.
#include "pages/PlotAnnotationPropSheet.h"

#include "pages/ControlPage.h"

#include <algorithm>
#include <array>
#include <optional>

using namespace PageFields;

namespace {

constexpr int kColourCount = 16;
constexpr int kMaxAngle = 359;
constexpr int kMaxFontSize = 999;
constexpr int kStyleBits = 3;     // italic and bold
constexpr int kUnderscoreBit = 4; // underline
constexpr int kLargestArrow = 3;
constexpr int kLastAttachMode = 3;

// The orientation buttons and the angle each one sets.
struct Orientation {
    const char* caption;
    const char* label;
    int angle;
};
constexpr std::array<Orientation, 4> kOrientations = {{
    {"UPTEXT", "Up", 0},
    {"DOWNTEXT", "Down", 180},
    {"LEFTTEXT", "Left", 90},
    {"RIGHTTEXT", "Right", 270},
}};

// "Text": the text, its colour, angle and alignment.
class CPlotAnnoTextPage : public CPageModel {
public:
    static constexpr char kText[] = "Enter Annotation Text";
    static constexpr char kColor[] = "Color";
    static constexpr char kAngle[] = "Angle";
    static constexpr char kAlignment[] = "Alignment";

    CPlotAnnoTextPage(AnnotationSetting& setting, ui::IWindowSite& site)
        : CPageModel("Text", site), setting_(setting) {
        Add(Text(kText));
        Add(Choice(kColor, Samples(kColourCount), ui::Sample::Colour));
        for (const Orientation& o : kOrientations) {
            ui::Field button = Button(o.caption);
            button.label = o.label;
            button.group = "Orientation";
            Add(button);
        }
        ui::Field angle = Integer(kAngle, 0, kMaxAngle);
        angle.label = "degrees";
        Add(angle);
        Add(Radio(kAlignment, {"Left", "Center", "Right"}));
    }
    void Activate() override {
        Set(kText, setting_.text);
        Set(kColor, std::to_string(setting_.color));
        Set(kAngle, std::to_string(setting_.angle));
        Set(kAlignment, std::to_string(setting_.alignment));
    }

private:
    void OnPress(const std::string& caption) override {
        for (const Orientation& o : kOrientations)
            if (caption == o.caption) Set(kAngle, std::to_string(o.angle));
    }
    void DoApply() override {
        setting_.text = Value(kText);
        setting_.color = std::clamp(Index(kColor), 0, kColourCount - 1);
        const std::optional<double> angle = ParseNumber(Value(kAngle));
        setting_.angle = angle ? int(std::clamp(*angle, 0.0, double(kMaxAngle))) : 0;
        setting_.alignment = std::clamp(Index(kAlignment), 0, 2);
    }
    AnnotationSetting& setting_;
};

// "Attribute": the arrow of the leader line and how the text is attached.
class CPlotAnnoAttribPage : public CPageModel {
public:
    static constexpr char kArrow[] = "Attached text";
    static constexpr char kAttach[] = "Attachment";

    CPlotAnnoAttribPage(AnnotationSetting& setting, ui::IWindowSite& site)
        : CPageModel("Attribute", site), setting_(setting) {
        Add(Radio(kArrow,
                  {"Without arrow", "With small arrow", "With medium arrow", "With large arrow"}));
        Add(Radio(kAttach,
                  {"Do not attach", "Attach to data point", "Attach to axis", "Attach to field"}));
    }
    void Activate() override {
        Set(kArrow, std::to_string(setting_.arrowSize));
        Set(kAttach, std::to_string(setting_.attachMode));
    }

private:
    void DoApply() override {
        setting_.arrowSize = std::clamp(Index(kArrow), 0, kLargestArrow);
        setting_.attachMode = std::clamp(Index(kAttach), 0, kLastAttachMode);
    }
    AnnotationSetting& setting_;
};

// "Font": face, size, style and underscore of the text's font.
class CPlotFontPage : public CPageModel {
public:
    static constexpr char kFace[] = "Font";
    static constexpr char kSize[] = "Size";
    static constexpr char kStyle[] = "Style";
    static constexpr char kUnderscore[] = "Underscore";

    CPlotFontPage(AnnotationSetting& setting, ui::IWindowSite& site)
        : CPageModel("Font", site), setting_(setting) {
        ui::Field face = Text(kFace);
        face.sample = ui::Sample::FontFamily;
        Add(face);
        Add(Integer(kSize, 1, kMaxFontSize));
        Add(Choice(kStyle, {"Regular", "Italic", "Bold", "BoldItalic"}));
        Add(Check(kUnderscore));
    }
    void Activate() override {
        Set(kFace, setting_.face);
        Set(kSize, std::to_string(setting_.size));
        Set(kStyle, std::to_string(setting_.style & kStyleBits));
        Set(kUnderscore, setting_.style & kUnderscoreBit ? "1" : "0");
    }

private:
    void DoApply() override {
        if (!Value(kFace).empty()) setting_.face = Value(kFace);
        const std::optional<double> size = ParseNumber(Value(kSize));
        if (size && *size >= 1 && *size <= kMaxFontSize) setting_.size = int(*size);
        setting_.style =
            std::clamp(Index(kStyle), 0, kStyleBits) | (Checked(kUnderscore) ? kUnderscoreBit : 0);
    }
    AnnotationSetting& setting_;
};

} // namespace

CPlotAnnotationPropSheet::CPlotAnnotationPropSheet(const AnnotationSetting& setting,
                                                   ui::IWindowSite& site)
    : setting_(setting) {
    pages_.push_back(std::make_unique<CPlotAnnoTextPage>(setting_, site));
    pages_.push_back(std::make_unique<CPlotAnnoAttribPage>(setting_, site));
    pages_.push_back(std::make_unique<CPlotFontPage>(setting_, site));
    for (auto& page : pages_)
        page->Activate();
}

CPlotAnnotationPropSheet::~CPlotAnnotationPropSheet() = default;

std::vector<ui::IPropertyPage*> CPlotAnnotationPropSheet::Pages() const {
    std::vector<ui::IPropertyPage*> pages;
    for (const auto& page : pages_)
        pages.push_back(page.get());
    return pages;
}
