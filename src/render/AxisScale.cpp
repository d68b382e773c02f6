#include "render/AxisScale.h"

#include "render/AxisTransform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

using AxisTransform::kLinear;
using AxisTransform::kLogarithmic;
using AxisTransform::kProbability;
using AxisTransform::kReciprocal;

namespace AxisScale {

namespace {

constexpr double kFloatMax = 3.4028234663852886e38;
constexpr double kReplacedInfinity = 3.4028234663852887e28;

// A finite double spans fewer than 650 decades (subnormals included); the bound only exists
// so that no input can keep a normalising loop running.
constexpr int kMaxDecades = 700;

double Pow10(double e) {
    return std::pow(10.0, e);
}

// Scales r into [1, 10] by factors of 10, counting the factors in e. False for values that
// have no decade (zero, negative, NaN, infinite).
bool NormaliseDecade(double& r, int& e) {
    e = 0;
    if (!std::isfinite(r) || r <= 0) return false;
    for (int i = 0; i < kMaxDecades && r < 1; ++i) {
        r *= 10;
        --e;
    }
    for (int i = 0; i < kMaxDecades && r > 10; ++i) {
        r /= 10;
        ++e;
    }
    return r >= 1 && r <= 10;
}

struct Candidate {
    double low = 0, high = 0, step = 0, count = 0;
};

// Snaps [lo, hi] outward to multiples of t; an end that lies within tol of the data is kept.
Candidate SnapToStep(double lo, double hi, double t, double tol) {
    Candidate c;
    c.step = t;
    c.low = RoundHalfAway(lo / t) * t;
    c.high = RoundHalfAway(hi / t) * t;
    c.count = RoundHalfAway((c.high - c.low) / t);
    if (c.low - lo > tol) {
        c.low -= t;
        c.count += 1;
    }
    if (hi - c.high > tol) {
        c.high += t;
        c.count += 1;
    }
    return c;
}

// An integer axis whose data start at 1 starts its scale at 1 rather than at 0: the high end
// moves up by one with it and gives a step back when that overshoots the data by a step. With
// steps beyond double precision the "+ 1" is lost, so the step is only given back when the
// scale still reaches the data.
void StartIntegerScaleAtOne(Candidate& c, double hi) {
    c.high += 1;
    c.low = 1;
    if (std::trunc(c.step) <= std::trunc(c.high) - std::trunc(hi) && c.high - c.step >= hi) {
        c.high -= c.step;
        c.count -= 1;
    }
}

bool AllFinite(const Candidate& c) {
    return std::isfinite(c.low) && std::isfinite(c.high) && std::isfinite(c.step) && c.step > 0;
}

} // namespace

double RoundHalfAway(double x) {
    return x >= 0 ? std::floor(x + 0.5) : -std::floor(-x + 0.5);
}

double TargetIntervals(double axisLength, double fontPoints, double scale) {
    const double label = 3.75 * fontPoints * scale;
    if (!(label > 0) || !(axisLength > 0) || !std::isfinite(label)) return 0;
    return axisLength / label;
}

void PLsetstm(int mode, double lo, double hi, double n, double intervalIn, double& outMin,
              double& outMax, double& outInterval) {
    if (lo == hi) hi = lo + 1;
    if (lo > hi) std::swap(lo, hi);
    if (-lo > kFloatMax) {
        std::fputs("Error at PLsetstm: lower range is minus Infinity\n", stdout);
        lo = -kReplacedInfinity;
    }
    if (hi > kFloatMax) {
        std::fputs("Error at PLsetstm: upper range is Infinity\n", stdout);
        hi = kReplacedInfinity;
    }
    if (lo != 0 && (hi - lo) / std::fabs(lo) < 1e-7) hi = lo + std::fabs(lo) * 1e-7;
    if (lo == 0 && (hi - lo) / std::fabs(hi) < 1e-7) lo = hi - std::fabs(hi) * 1e-7;

    const bool integer = mode == 1 || mode == 3;
    // A fixed interval that is not a positive finite number cannot be snapped to; the axis
    // then picks its own interval as if none were fixed.
    const bool fixed = (mode == 2 || mode == 3) && std::isfinite(intervalIn) && intervalIn > 0;
    static constexpr double kSteps[] = {1, 2, 2.5, 5, 10};
    static constexpr int kScores[] = {2, 1, 1, 2, 2};
    static constexpr double kIntegerSteps[] = {1, 2, 5, 10};
    static constexpr int kIntegerScores[] = {2, 1, 2, 2};
    const double* steps = integer ? kIntegerSteps : kSteps;
    const int* scores = integer ? kIntegerScores : kScores;
    const int last = integer ? 3 : 4;

    // No scale for no intervals, and none from ends that are NaN or still infinite.
    if (!(n > 0)) return;
    if (!std::isfinite(lo) || !std::isfinite(hi)) return;
    const double tol = std::fabs(hi - lo) * 1e-7;

    auto emit = [&](const Candidate& c) {
        if (!AllFinite(c)) return;
        outMin = c.low;
        outMax = c.high;
        outInterval = c.step;
    };
    auto snap = [&](double t, bool integerStartsAtOne) {
        Candidate c = SnapToStep(lo, hi, t, tol);
        if (integerStartsAtOne && lo == 1 && c.low == 0) StartIntegerScaleAtOne(c, hi);
        emit(c);
    };

    if (fixed) {
        snap(intervalIn, integer);
        return;
    }

    double r = (hi - lo) / n;
    int e = 0;
    if (!NormaliseDecade(r, e)) return;
    int k = 0;
    for (int j = 1; j <= last; ++j) {
        if (std::fabs(steps[j] - r) < std::fabs(steps[k] - r)) k = j;
    }
    if (k == last) {
        k = 0;
        ++e;
    } else if (k == last - 1) {
        --k;
    }

    const double decade = Pow10(e);
    Candidate cand[3];
    for (int i = 0; i < 3; ++i) {
        const double t = steps[k + i] * decade;
        if (!(t > 0) || !std::isfinite(t)) return;
        cand[i] = SnapToStep(lo, hi, t, tol);
        if (integer && lo == 1 && cand[i].low == 0) StartIntegerScaleAtOne(cand[i], hi);
    }

    const double d0 = std::fabs(steps[k] - r);
    const double d2 = std::fabs(steps[k + 2] - r);
    int bonus0 = 0, bonus2 = 0;
    if ((d0 + d2) * 0.05 > std::fabs(d0 - d2)) {
        bonus0 = bonus2 = 1;
    } else if (d2 <= d0) {
        bonus2 = 1;
    } else {
        bonus0 = 1;
    }
    const double wanted = RoundHalfAway(n);
    const double a0 = std::fabs(cand[0].count - wanted);
    const double a2 = std::fabs(cand[2].count - wanted);
    const double nearest = std::min(a0, a2);
    int score[3] = {scores[k] + bonus0 + (a0 == nearest ? 1 : 0), scores[k + 1] + 2,
                    scores[k + 2] + bonus2 + (a2 == nearest ? 1 : 0)};
    for (int i = 0; i < 3; ++i) {
        if (integer && lo == 1 && cand[i].low < 1) score[i] -= 10;
        if (cand[i].high > 0) {
            // Rounding up past a power of ten the data did not reach costs a whole decade.
            const double power = Pow10(std::floor(std::log10(cand[i].high)));
            if (hi <= power && power < cand[i].high) score[i] -= 10;
        }
    }

    int chosen = 0;
    if (score[1] >= score[0] && score[1] >= score[2]) {
        chosen = 1;
    } else if (score[2] >= score[0]) {
        chosen = 2;
    }
    if (integer && cand[chosen].step != std::floor(cand[chosen].step)) {
        snap(1.0, false);
        return;
    }
    emit(cand[chosen]);
}

std::optional<TickList> LogTicks(double lo, double hi, double viewMin, double viewMax) {
    if (!(lo > 0) || !(hi > lo) || !std::isfinite(hi)) return std::nullopt;

    double loNorm = lo, hiNorm = hi;
    int c = 0, m = 0;
    if (!NormaliseDecade(loNorm, c) || !NormaliseDecade(hiNorm, m)) return std::nullopt;
    if (hiNorm != 1) ++m;
    int d = std::max(1, m - c);

    static constexpr double kMultiples[5][7] = {{1, 2, 4, 6, 8, 10},
                                                {1, 2, 5, 10, 20, 50, 100},
                                                {1, 5, 10, 50, 100, 500, 1000},
                                                {1, 10, 100, 1000, 10000},
                                                {1, 10, 100, 1000, 1e4, 1e5}};
    static constexpr int kCounts[5] = {6, 7, 7, 5, 6};
    double ticks[8] = {};
    int count = 0;
    if (d <= 5) {
        const double base = Pow10(c);
        count = kCounts[d - 1];
        for (int i = 0; i < count; ++i)
            ticks[i] = base * kMultiples[d - 1][i];
    } else {
        d = (d + 4) / 5 * 5;
        count = 6;
        for (int i = 0; i < count; ++i)
            ticks[i] = Pow10(c + i * d / 5);
    }
    // Ranges reaching the ends of the double range have decades without a representable tick;
    // such a list would be cut short by a 0 or end in infinity, so none is made.
    for (int i = 0; i < count; ++i) {
        if (!(ticks[i] > 0) || !std::isfinite(ticks[i])) return std::nullopt;
    }

    int first = 0;
    for (int i = 0; i < count; ++i) {
        if (ticks[i] <= viewMin) first = i;
    }
    int lastKept = count - 1;
    for (int i = first; i < count; ++i) {
        if (ticks[i] >= viewMax) {
            lastKept = i;
            break;
        }
    }
    TickList list;
    list.ticks.assign(kTickSlots, 0.0);
    for (int i = first; i <= lastKept; ++i)
        list.ticks[i - first] = ticks[i];
    list.plotMin = std::log10(ticks[first]);
    list.plotMax = std::log10(ticks[lastKept]);
    return list;
}

TickList ProbabilityTicks(double& viewMin, double& viewMax) {
    static constexpr double kPercent[17] = {0.01, 0.1, 1,  5,  10, 20, 30,   40,   50,
                                            60,   70,  80, 90, 95, 99, 99.9, 99.99};
    if (!(viewMin >= 0.01)) viewMin = 0.01;
    if (!(viewMax <= 99.99)) viewMax = 99.99;
    if (viewMin > viewMax) {
        viewMin = 0.01;
        viewMax = 99.99;
    }
    TickList list;
    list.ticks.assign(kTickSlots, 0.0);
    std::size_t j = 0;
    for (double p : kPercent) {
        if (p >= viewMin - 0.0001 && p <= viewMax + 0.0001) list.ticks[j++] = p;
    }
    list.plotMin = AxisTransform::ToPlot(kProbability, viewMin);
    list.plotMax = AxisTransform::ToPlot(kProbability, viewMax);
    return list;
}

namespace {

constexpr int kMaxTicks = 100000; // no range and interval can make a walk run on

bool ListsTicks(const Division& d) {
    return d.scaleType == kLogarithmic || d.scaleType == kProbability;
}

// The next tick after v: one interval on, or on reciprocal axes the next whole multiple.
double NextTick(const Division& d, double v, double step) {
    return d.scaleType == kReciprocal ? (std::trunc(v / step + 0.5) + 1) * step : v + step;
}

} // namespace

double DrawnInterval(const Division& d) {
    double step = d.interval;
    if (d.scaleType != kLinear || !std::isfinite(step) || step == 0) return step;
    for (int i = 0; i < kMaxDecades && std::fabs(d.plotMax - d.plotMin) / std::fabs(step) > 50; ++i)
        step *= 10;
    return step;
}

double LabelFactor(int multiplier, int multiplierType) {
    if (multiplier == 0) return 1;
    return multiplierType == 0 ? Pow10(multiplier) : multiplier;
}

std::vector<Tick> DrawnTicks(const Division& d, double step) {
    std::vector<Tick> ticks;
    auto labelValue = [&](double v) {
        if (std::fabs(v) < std::fabs(step) * 1e-4) v = 0;
        return v;
    };
    if (ListsTicks(d)) {
        for (std::size_t i = 0; i < d.tickList.size() && d.tickList[i] != 0; ++i)
            ticks.push_back(Tick{AxisTransform::ToPlot(d.scaleType, d.tickList[i]),
                                 labelValue(d.tickList[i]), false});
        if (!ticks.empty()) ticks.back().last = true;
        return ticks;
    }
    if (!std::isfinite(step) || step == 0 || !std::isfinite(d.plotMin) || !std::isfinite(d.plotMax))
        return ticks;
    const double half = step / 2;
    double v = d.plotMin + (d.triKind != 0 ? step : 0);
    for (int i = 0; i < kMaxTicks; ++i) {
        if (v > d.plotMax + half || (d.triKind != 0 && v > d.plotMax - half)) break;
        ticks.push_back(
            Tick{v, AxisTransform::FromPlot(d.scaleType, labelValue(v)), v > d.plotMax - half});
        v = NextTick(d, v, step);
    }
    return ticks;
}

std::vector<double> GridTicks(const Division& d) {
    std::vector<double> ticks;
    if (ListsTicks(d)) {
        for (std::size_t i = 0; i < d.tickList.size() && d.tickList[i] != 0; ++i)
            ticks.push_back(AxisTransform::ToPlot(d.scaleType, d.tickList[i]));
        return ticks;
    }
    if (!std::isfinite(d.interval) || d.interval <= 0 || !std::isfinite(d.plotMin)) return ticks;
    double v = d.plotMin;
    for (int i = 0; i < kMaxTicks && v <= d.plotMax + d.interval * 0.01; ++i) {
        ticks.push_back(v);
        v = NextTick(d, v, d.interval);
    }
    return ticks;
}

} // namespace AxisScale
