// The pages of the text sheet: text, colour, orientation and alignment; arrow and
// attachment; the font page is the edit sheets' common one.
#include "pages/PlotAnnotationPropSheet.h"

#include "pages/ControlPage.h"
#include "pages/PickTables.h"
#include "pages/PlotFontPage.h"

#include <algorithm>
#include <array>
#include <optional>

using namespace PageFields;

namespace {

using PickTables::kColourCount;
constexpr int kMaxAngle = 359;
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

} // namespace

CPlotAnnotationPropSheet::CPlotAnnotationPropSheet(const AnnotationSetting& setting,
                                                   ui::IWindowSite& site)
    : setting_(setting) {
    AddPage(std::make_unique<CPlotAnnoTextPage>(setting_, site));
    AddPage(std::make_unique<CPlotAnnoAttribPage>(setting_, site));
    AddPage(std::make_unique<CPlotFontPage>(setting_, site));
}
