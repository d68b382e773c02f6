#include "pages/GridPage.h"

#include "pages/ControlMembers.h"

#include <array>

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kGrid[] = "Grid";
constexpr char kDisplay[] = "Display";
constexpr char kSize[] = "Marker Size";
constexpr char kInterval[] = "Marker Interval";
constexpr char kFlip[] = "Flip Coordinate";
constexpr char kSquare[] = "Square Plot";
constexpr char kDiagonal[] = "Diagonal Line";
constexpr char kZero[] = "Zero Line";
constexpr char kCoordinate[] = "Coordinate";
constexpr char kGridInterval[] = "Grid Interval";
constexpr int kMaxMarkerSize = 99;
constexpr int kMaxMarkerInterval = 999;
constexpr int kTriangular = 2, kCartesian = 3; // PlotType values
// GridType by choice: "Mesh", "Vertical", "Horizontal", "No grid".
constexpr std::array<int, 4> kGridTypes = {3, 1, 2, 0};

const char* Bit(bool on) {
    return on ? "1" : "0";
}

} // namespace

int CGridPage::GridTypeOf(int choice) {
    return choice >= 0 && choice < int(kGridTypes.size()) ? kGridTypes[std::size_t(choice)] : 0;
}

int CGridPage::GridChoiceOf(int gridType) {
    for (std::size_t i = 0; i < kGridTypes.size(); ++i)
        if (kGridTypes[i] == gridType) return int(i);
    return 3;
}

CGridPage::CGridPage(Kind kind, com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Grid", control, site), kind_(kind) {
    Add(Radio(kGrid, {"Mesh", "Vertical", "Horizontal", "No grid"}, kGrid), "3");
    Add(Radio(kDisplay, {"Lines && Markers", "Lines", "Markers"}, kDisplay), "0");
    if (kind == Kind::Triangular) {
        Add(Radio(kCoordinate, {"Triangular", "Cartesian"}, kCoordinate), "0");
        Add(Number(kGridInterval, kGridInterval));
    }
    Add(Integer(kSize, 0, kMaxMarkerSize), "4");
    Add(Integer(kInterval, 1, kMaxMarkerInterval), "1");
    if (kind == Kind::Plain) {
        Add(Check(kFlip), "0");
        Add(Check(kSquare), "0");
        Add(Check(kDiagonal), "0");
        Add(Check(kZero), "0");
    }
}

void CGridPage::Activate() {
    Set(kGrid, std::to_string(GridChoiceOf(control_.Int(M::GridType))));
    Set(kDisplay, std::to_string(DisplayChoiceOf(control_.Int(M::DisplayType))));
    Set(kSize, std::to_string(control_.Int(M::MarkerSize)));
    Set(kInterval, std::to_string(control_.Int(M::MarkerInterval)));
    if (kind_ == Kind::Triangular) {
        Set(kCoordinate, control_.Int(M::PlotType) == kCartesian ? "1" : "0");
        Set(kGridInterval, NumberText(control_.Real(M::GridInterval)));
    }
    if (kind_ == Kind::Plain) {
        bars_ = control_.Int(M::PlotType) == 1;
        flipped_ = control_.Bool(M::Flipped);
        square_ = control_.Bool(M::SquarePlot);
        diagonal_ = control_.Bool(M::DiagonalLine);
        Set(kFlip, Bit(flipped_));
        Set(kSquare, Bit(square_));
        Set(kDiagonal, Bit(diagonal_));
        Set(kZero, Bit(control_.Bool(M::ZeroLine)));
    }
}

void CGridPage::DoApply() {
    if (kind_ == Kind::Triangular)
        control_.Put(M::PlotType,
                     CDispatchClient::I2(Index(kCoordinate) == 1 ? kCartesian : kTriangular));
    control_.Put(M::DisplayType, CDispatchClient::I2(DisplayTypeOf(Index(kDisplay))));
    control_.Put(M::GridType, CDispatchClient::I2(GridTypeOf(Index(kGrid))));
    if (kind_ == Kind::Triangular) {
        const std::optional<double> interval = ReadNumber(kGridInterval);
        if (interval && *interval >= 0 && *interval <= 1)
            control_.Put(M::GridInterval, com::Variant::R4(float(*interval)));
    }
    if (Index(kSize) >= 0) control_.Put(M::MarkerSize, CDispatchClient::I2(Index(kSize)));
    if (Index(kInterval) >= 1)
        control_.Put(M::MarkerInterval, CDispatchClient::I2(Index(kInterval)));
    if (kind_ != Kind::Plain) return;
    if (Checked(kFlip) != flipped_)
        control_.Put(M::Flipped, com::Variant::Bool(flipped_ = !flipped_));
    if (!bars_) {
        if (Checked(kSquare) != square_)
            control_.Put(M::SquarePlot, com::Variant::Bool(square_ = !square_));
        // A diagonal needs a square plot.
        const bool diagonal = Checked(kDiagonal) && square_;
        if (diagonal != diagonal_)
            control_.Put(M::DiagonalLine, com::Variant::Bool(diagonal_ = diagonal));
    }
    control_.Put(M::ZeroLine, com::Variant::Bool(Checked(kZero)));
}
