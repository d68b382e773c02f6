// The pages of the axis sheet: the coordinate page of any axis, the time axis page of a run
// plot's time axis, and the common font page.
#include "pages/PlotAxisPropSheet.h"

#include "pages/ControlPage.h"

#include <array>
#include <cmath>
#include <map>
#include <optional>

using namespace PageFields;

namespace {

constexpr int kMaxMultiplier = 30; // exponents beyond +-30 are refused
constexpr double kMaxIntervals = 50;
constexpr double kIntervalTolerance = 1e-6; // relative: a different interval locks the grid
constexpr double kWindowTolerance = 1e-6;
constexpr char kMultiplierError[] =
    "Error in the Multiplier:\nRange must be: -30 <= Multiplier <= 30";
constexpr char kRangeError[] = "Error in the Axis Range:\nMin. Value must be less than Max. Value.";

// Captions shared by both axis pages.
constexpr char kInterval[] = "Grid Interval";
constexpr char kLow[] = "Axis Range";
constexpr char kHigh[] = "-->";
constexpr char kValueRange[] = "Value Range";
constexpr char kMultiplier[] = "Multiplier";

bool Exponent(int m) {
    return m >= -kMaxMultiplier && m <= kMaxMultiplier;
}

// The factor of an exponential multiplier: 10 to the m, 1 for none.
double TenTo(int m) {
    return m == 0 || !Exponent(m) ? 1.0 : std::pow(10.0, m);
}

std::string RangeText(double low, double high) {
    std::string text = CPageModel::NumberText(low);
    text += " --> ";
    text += CPageModel::NumberText(high);
    return text;
}

// "Coordinate": one set of values per axis, walked with the "Axis No." spin.
class CPlotCoordPage : public CPageModel {
public:
    static constexpr char kScale[] = "Scale";
    static constexpr char kLock[] = "Lock Grid";
    static constexpr char kDescends[] = "Variable descends";
    static constexpr char kAxisNo[] = "Axis No.";
    static constexpr char kReset[] = "Reset axis range to data";

    CPlotCoordPage(std::vector<AxisScaleSetting>& axes, ui::IWindowSite& site)
        : CPageModel("Coordinate", site), axes_(axes) {
        Add(Radio(kScale, {"Linear", "Log", "Inverse", "Probability"}));
        Add(Number(kInterval, kInterval));
        Add(Check(kLock));
        Add(Number(kLow, kLow));
        Add(Beside(Number(kHigh, kHigh)));
        Add(Check(kDescends));
        const int first = axes_.empty() ? 0 : axes_.front().axisNo;
        Add(Integer(kAxisNo, first, first + int(axes_.size()) - 1));
        Add(Note(kValueRange));
        Add(Number(kMultiplier, kMultiplier));
        Add(Check(kReset));
    }

    void Activate() override {
        texts_.clear();
        for (const AxisScaleSetting& a : axes_)
            texts_.push_back(TextsOf(a));
        shown_ = 0;
        Show();
    }

private:
    using Texts = std::map<std::string, std::string>;
    static constexpr std::array<const char*, 8> kPerAxis = {kScale, kInterval, kLock,       kLow,
                                                            kHigh,  kDescends, kMultiplier, kReset};

    static Texts TextsOf(const AxisScaleSetting& a) {
        const double c = TenTo(a.multiplier);
        return {{kScale, std::to_string(a.scaleType)},
                {kInterval, NumberText(a.interval * c)},
                {kLock, a.lockGrid ? "1" : "0"},
                {kLow, NumberText(a.low * c)},
                {kHigh, NumberText(a.high * c)},
                {kDescends, a.descends ? "1" : "0"},
                {kMultiplier, std::to_string(a.multiplier)},
                {kReset, a.resetRange ? "1" : "0"}};
    }

    void Show() {
        if (axes_.empty()) return;
        for (const auto& [caption, text] : texts_[shown_])
            Set(caption, text);
        const AxisScaleSetting& a = axes_[shown_];
        Set(kAxisNo, std::to_string(a.axisNo));
        Set(kValueRange, RangeText(a.dataLow, a.dataHigh));
    }
    // The shown values go back to their axis's set.
    void Keep() {
        if (axes_.empty()) return;
        for (const char* caption : kPerAxis)
            texts_[shown_][caption] = Value(caption);
    }

    void OnEdit(const std::string& caption) override {
        if (caption != kAxisNo || axes_.empty()) return;
        const int k = Index(kAxisNo) - axes_.front().axisNo;
        if (k < 0 || k >= int(axes_.size())) return;
        Keep();
        shown_ = std::size_t(k);
        Show();
    }

    void DoApply() override {
        Keep();
        for (std::size_t k = 0; k < axes_.size(); ++k)
            ApplyAxis(axes_[k], texts_[k]);
        Show();
    }

    void ApplyAxis(AxisScaleSetting& a, Texts& t) {
        // The scale, the lock and the reset flag.
        const int scale = std::atoi(t[kScale].c_str());
        if (scale >= 0 && scale <= 3) a.scaleType = scale;
        a.lockGrid = t[kLock] == "1";
        a.resetRange = t[kReset] == "1";
        // The multiplier, refused beyond +-30.
        if (const std::optional<double> m = ReadNumber(kMultiplier, t[kMultiplier])) {
            a.multiplier = Exponent(int(*m)) && *m == std::trunc(*m) ? int(*m) : 0;
            if (!Exponent(int(*m)) || *m != std::trunc(*m)) {
                Message(kMultiplierError);
                // Built strings rather than literals: GCC 12 at -O3 misreads a literal assigned
                // here as an overlapping copy (-Wrestrict).
                t[kMultiplier] = std::string(1, '0');
            }
        }
        const double c = TenTo(a.multiplier);
        // The range and the grid interval in data units.
        const std::optional<double> low = ReadNumber(kLow, t[kLow]);
        const std::optional<double> high = ReadNumber(kHigh, t[kHigh]);
        const std::optional<double> typed = ReadNumber(kInterval, t[kInterval]);
        if (low && high && typed) {
            const GridInterval g =
                GridInterval::Apply(*typed / c, *low / c, *high / c, a.interval, a.lockGrid);
            a.interval = g.interval;
            if (g.cut) t[kInterval] = NumberText(g.interval * c);
            if (g.lock) {
                a.lockGrid = true;
                t[kLock] = std::string(1, '1');
            }
        }
        // The range itself, when low is below high.
        a.rangeTaken = low && high && *low / c < *high / c;
        if (a.rangeTaken) {
            a.low = *low / c;
            a.high = *high / c;
        } else if (low && high) {
            Message(kRangeError);
        }
        a.descends = t[kDescends] == "1";
    }

    std::vector<AxisScaleSetting>& axes_;
    std::vector<Texts> texts_;
    std::size_t shown_ = 0;
};

// "Time Axis": the grid, range, window and scroll unit of a run plot's time axis.
class CPlotTimeAxisPage : public CPageModel {
public:
    static constexpr char kLock[] = "Lock Grid Interval";
    static constexpr char kWindow[] = "Time Window";
    static constexpr char kScrollUnit[] = "Scroll Unit";
    static constexpr char kMultiplierType[] = "Multiplier Type";

    CPlotTimeAxisPage(TimeAxisSetting& time, ui::IWindowSite& site)
        : CPageModel("Time Axis", site), time_(time) {
        Add(Number(kInterval, kInterval));
        Add(Check(kLock));
        Add(Number(kLow, kLow));
        Add(Beside(Number(kHigh, kHigh)));
        Add(Note(kValueRange));
        Add(Number(kWindow, kWindow));
        Add(Number(kScrollUnit, kScrollUnit));
        Add(Number(kMultiplier, kMultiplier));
        ui::Field type = Radio(kMultiplierType, {"Exponential (Base 10)", "Literal"});
        type.unlabelled = true;
        Add(type);
    }

    void Activate() override {
        const double c = Factor();
        Set(kInterval, NumberText(time_.interval * c));
        Set(kLock, time_.lockGrid ? "1" : "0");
        Set(kLow, NumberText(time_.low * c));
        Set(kHigh, NumberText(time_.high * c));
        Set(kValueRange, RangeText(time_.dataLow, time_.dataHigh));
        Set(kWindow, NumberText(time_.timeWindow));
        Set(kScrollUnit, NumberText(time_.scrollUnit));
        Set(kMultiplier, std::to_string(time_.multiplier));
        Set(kMultiplierType, std::to_string(time_.multiplierType));
    }

private:
    // The factor of the multiplier: 10 to the m, or m itself when literal; 1 for none.
    double Factor() const {
        if (time_.multiplier == 0) return 1;
        return time_.multiplierType == 0 ? TenTo(time_.multiplier) : double(time_.multiplier);
    }

    void DoApply() override {
        // The lock and the multiplier; an exponent beyond +-30 becomes 0.
        time_.lockGrid = Checked(kLock);
        time_.multiplierType = Index(kMultiplierType) == 1 ? 1 : 0;
        if (const std::optional<double> m = ReadNumber(kMultiplier)) {
            const bool whole = std::abs(*m) < 1e9 && *m == std::trunc(*m);
            time_.multiplier = whole ? int(*m) : 0;
            if (time_.multiplierType == 0 && !Exponent(time_.multiplier)) time_.multiplier = 0;
        }
        const double c = Factor();
        const std::optional<double> low = ReadNumber(kLow), high = ReadNumber(kHigh);
        const std::optional<double> typed = ReadNumber(kInterval);
        if (!low || !high) return;
        double lo = *low / c, hi = *high / c;
        // The grid interval rule over the range.
        if (typed) {
            const GridInterval g =
                GridInterval::Apply(*typed / c, lo, hi, time_.interval, time_.lockGrid);
            time_.interval = g.interval;
            time_.lockGrid = time_.lockGrid || g.lock;
        }
        // A new positive window moves the range's high end.
        const std::optional<double> window = ReadNumber(kWindow);
        time_.windowTaken = false;
        if (window && *window > 0 && std::abs(*window - time_.timeWindow) > kWindowTolerance) {
            time_.timeWindow = *window;
            time_.windowTaken = true;
            hi = lo + *window;
        }
        // The range, and the window follows its width.
        time_.rangeTaken = hi > lo;
        if (time_.rangeTaken) {
            time_.low = lo;
            time_.high = hi;
            if (std::abs((hi - lo) - time_.timeWindow) > kWindowTolerance) {
                time_.timeWindow = hi - lo;
                time_.windowTaken = true;
            }
        } else {
            Message(kRangeError);
        }
        // A positive scroll unit within the window.
        if (const std::optional<double> unit = ReadNumber(kScrollUnit))
            if (*unit > 0 && *unit <= time_.timeWindow) time_.scrollUnit = *unit;
        Activate();
    }

    TimeAxisSetting& time_;
};

} // namespace

GridInterval GridInterval::Apply(double typed, double low, double high, double current,
                                 bool locked) {
    GridInterval g;
    g.interval = current;
    if (!(typed > 0)) return g; // no interval typed: the axis keeps choosing its own
    double interval = typed;
    if (low < high && interval > high - low) {
        interval = high - low;
        g.cut = true;
    } else if (!locked && std::abs(interval - current) > kIntervalTolerance * std::abs(current)) {
        g.lock = true;
    }
    if (std::abs(high - low) / interval <= kMaxIntervals)
        g.interval = interval;
    else
        g.lock = false; // an interval that is not taken locks nothing
    return g;
}

CPlotAxisPropSheet::CPlotAxisPropSheet(const AxisSheetSetting& setting, ui::IWindowSite& site)
    : setting_(setting) {
    if (setting_.timeAxis)
        AddPage(std::make_unique<CPlotTimeAxisPage>(setting_.time, site));
    else
        AddPage(std::make_unique<CPlotCoordPage>(setting_.axes, site));
    AddPage(std::make_unique<CPlotFontPage>(setting_.font, site));
}
