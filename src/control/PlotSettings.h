#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CTrendixCtrl;
class CPlotAnnotation;
class CPlotAxis;

// The settings text of a plot (GetSettings / SetSettings): one "Key:value" line per setting,
// each ended by a line feed, in a fixed order. Writing reads the control's properties and its
// plot; reading applies a block to a live control, calling the control's members where a
// setting has a handler and storing the others directly. Sample data is not part of the text.
class CPlotSettings {
public:
    // An annotation block of the text as read: the reader parses its keys into a record and
    // makes the plot's annotations and their text objects from the placed records at the end.
    struct Annotation {
        std::string text;
        double x = 0, y = 0, dx = 0, dy = 0;
        int tagVariable = 0;
        int attachMode = 0, color = 0, angle = 0, arrowSize = 0, alignment = 0;
        int transparentText = 0;
        std::string fontFace;
        int fontSize = 0, fontAngle = 0, fontStyle = 0;
        int textObjectIndex = -1; // the annotation's index its text object is bound to
        bool placed = false;      // its "AnnoFont" line was read: it is part of the plot
    };
    static constexpr double kLargestFloat = 3.4028235e38; // "+++" in an annotation position
    // The farthest the legend may be placed off the drawing region, in region sizes.
    static constexpr float kLegendPlacementLimit = 100.0f;

    explicit CPlotSettings(CTrendixCtrl& control) : ctrl_(control) {}

    std::string Write();
    void Read(std::string_view text);

    // The annotations the last Read placed, in the order they were placed.
    std::vector<Annotation> Annotations() const;
    // The lines an annotation is written as.
    static std::string FormatAnnotation(const Annotation& a);
    // The record of a plot's annotation, and the annotation a record makes.
    static Annotation RecordOf(const CPlotAnnotation& annotation);
    static std::unique_ptr<CPlotAnnotation> MakeAnnotation(const Annotation& record);

private:
    using Handler = void (CPlotSettings::*)(std::string_view value);
    static Handler Find(std::string_view key);

    // writing
    void Line(std::string_view key, std::string_view value);
    void WriteHeader();
    void WriteVariables();
    void WriteAxes();
    void WriteAxis(const CPlotAxis& axis);
    void WriteAttributes();
    void WriteLook();
    void WriteSymbols();
    void WriteAnnotations();
    void PlaceAnnotations();

    // reading
    void Prepare();
    void ReadLine(std::string_view line);
    void Finish();
    CPlotAxis* CurrentAxis();
    Annotation* CurrentAnnotation();

    void Title(std::string_view v);
    void Xlab(std::string_view v);
    void Ylab(std::string_view v);
    void Nvars(std::string_view v);
    void Type(std::string_view v);
    void MultiY(std::string_view v);
    void NYaxes(std::string_view v);
    void RunPlot(std::string_view v);
    void PhasePlot(std::string_view v);
    void PhaseX(std::string_view v);
    void UseVar(std::string_view v);
    void IgnoreLegend(std::string_view v);
    void SizeToData(std::string_view v);
    void CommunicationIntervals(std::string_view v);
    void AlwaysShow(std::string_view v);
    void TimeWin(std::string_view v);
    void TimeScroll(std::string_view v);
    void Subst(std::string_view v);
    void Var(std::string_view v);
    void AxisMap(std::string_view v);
    void Label(std::string_view v);
    void Legend(std::string_view v);
    void SubstValue(std::string_view v);
    void Axis(std::string_view v);
    void Range(std::string_view v);
    void AxisRange(std::string_view v);
    void AxisInterval(std::string_view v);
    void ARange(std::string_view v);
    void ARange2(std::string_view v);
    void ARange3(std::string_view v);
    void AxisResetRange(std::string_view v);
    void AxisScale(std::string_view v);
    void Multiplier(std::string_view v);
    void MultiplierType(std::string_view v);
    void AxisFlag(std::string_view v);
    void Attrib(std::string_view v);
    void Attrib2(std::string_view v);
    void Font(std::string_view v);
    void Grid(std::string_view v);
    void LineType(std::string_view v);
    void Square(std::string_view v);
    void Marker(std::string_view v);
    void LegendBox(std::string_view v);
    void LegendBox2(std::string_view v);
    void AnnotationKey(std::string_view v);
    void AnnoPosX(std::string_view v);
    void AnnoPosY(std::string_view v);
    void AnnoPos2(std::string_view v);
    void AnnoPosition(std::string_view v);
    void AnnoAttrib2(std::string_view v);
    void AnnoAttrib(std::string_view v);
    void AnnoFont(std::string_view v);
    void SymbolName(std::string_view v);
    void SymbolValue(std::string_view v);

    void BindTextObject(Annotation& a);

    CTrendixCtrl& ctrl_;
    std::string out_;
    // cursors of the reader
    int var_ = 0;
    int axis_ = -1; // none until an "Axis" line names an axis that exists
    int annotation_ = -1;
    std::string symbolName_;
    double annoX_ = 0, annoY_ = 0;
    std::vector<Annotation> annotations_; // every block read, placed or not
    int placedCount_ = 0;
};
