#include "render/PlotVar.h"

#include <gtest/gtest.h>

#include <random>

namespace {

CPlotVar Ring(std::uint32_t n) {
    CPlotVar v(true);
    v.MakeRing(n);
    return v;
}

std::vector<double> Readable(const CPlotVar& v) {
    std::vector<double> out;
    for (std::uint32_t i = 0; i < v.ReadableCount(); ++i) {
        double x;
        v.Get(i, x);
        out.push_back(x);
    }
    return out;
}

} // namespace

TEST(PlotVarBuffer, RingKeepsTheNewestSamplesInStorageOrder) {
    CPlotVar v = Ring(5);
    for (int t = 1; t <= 7; ++t)
        v.Push(t);
    EXPECT_EQ(Readable(v), (std::vector<double>{6, 7, 3, 4, 5}));
    EXPECT_EQ(v.wrapped, 1u);
    EXPECT_EQ(v.LastSlot(), 1u);
    EXPECT_EQ(v.LastSample(), 7);
    double x = 0;
    EXPECT_FALSE(v.Get(5, x));
    EXPECT_EQ(x, MISSING_VALUE);
}

TEST(PlotVarBuffer, ArrayGrowsPastItsEndAndFillsWithMissing) {
    CPlotVar v(false);
    v.Resize(10);
    ASSERT_TRUE(v.SetAt(20, 4.5));
    EXPECT_EQ(v.capacity, 30u);
    EXPECT_EQ(v.highestIndex, 20u);
    for (std::uint32_t i = 10; i < 30; ++i) {
        double x;
        EXPECT_TRUE(v.Get(i, x));
        EXPECT_EQ(x, i == 20 ? 4.5 : MISSING_VALUE) << i;
    }
    v.Resize(0); // ignored
    EXPECT_EQ(v.capacity, 30u);
    v.Resize(5);
    EXPECT_EQ(Readable(v).size(), 5u);
    EXPECT_FALSE(v.SetAt(0xFFFFFFFFu, 1)) << "no slot can be had that far out";
}

TEST(PlotVarBuffer, RangeSkipsMissingValues) {
    CPlotVar v(false);
    v.Resize(9);
    double lo, hi;
    EXPECT_FALSE(v.Range(lo, hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 1);
    v.SetAt(2, -3);
    v.SetAt(7, 9e27); // still a value
    v.SetAt(8, 2e28); // missing
    ASSERT_TRUE(v.Range(lo, hi));
    EXPECT_EQ(lo, -3);
    EXPECT_EQ(hi, 9e27);
}

TEST(PlotVarBuffer, TruncateKeepsOrDropsTheSlotAsTheRingRequires) {
    CPlotVar v = Ring(6);
    for (int t = 0; t < 5; ++t)
        v.Push(t);
    v.Truncate(3, false); // not wrapped: slot 3 stays
    EXPECT_EQ(Readable(v), (std::vector<double>{0, 1, 2, 3}));

    CPlotVar w = Ring(5);
    for (int t = 1; t <= 7; ++t)
        w.Push(t); // slots 6 7 3 4 5, write position 2
    w.Truncate(4, false); // a > w: keeps slots 2..3 (times 3, 4), drops slot 4
    EXPECT_EQ(Readable(w), (std::vector<double>{3, 4}));

    CPlotVar u = Ring(5);
    for (int t = 1; t <= 8; ++t)
        u.Push(t); // slots 6 7 8 4 5, write position 3
    u.Truncate(1, false); // a <= w: oldest first up to slot 1, which goes
    EXPECT_EQ(Readable(u), (std::vector<double>{4, 5, 6}));

    u.Truncate(0, true);
    EXPECT_EQ(u.ReadableCount(), 0u);
}

TEST(PlotVarTime, NegativeTimeRepeatsTheNewestThenReusesIt) {
    CPlotVar v = Ring(8);
    EXPECT_EQ(v.FindTime(-1, true).kind, TimeSlot::NotFound) << "no newest time yet";
    EXPECT_EQ(v.FindTime(10, true), (TimeSlot{TimeSlot::Appended, 0}));
    EXPECT_EQ(v.FindTime(10, true), (TimeSlot{TimeSlot::Found, 0}));
    EXPECT_EQ(v.FindTime(-1, true), (TimeSlot{TimeSlot::Appended, 1}));
    EXPECT_EQ(v.FindTime(-1, true), (TimeSlot{TimeSlot::Reused, 1}));
    EXPECT_EQ(Readable(v), (std::vector<double>{10, 10}));
    EXPECT_EQ(v.FindTime(3, false).kind, TimeSlot::NotFound);
    EXPECT_EQ(v.ReadableCount(), 2u);
}

TEST(PlotVarTime, ArraysNeverAppend) {
    CPlotVar v(true);
    v.Resize(4);
    v.SetAt(2, 7);
    EXPECT_EQ(v.FindTime(7, true), (TimeSlot{TimeSlot::Found, 2}));
    EXPECT_EQ(v.FindTime(8, true).kind, TimeSlot::NotFound);
    CPlotVar empty(true);
    EXPECT_EQ(empty.FindTime(1, true).kind, TimeSlot::NotFound);
    EXPECT_EQ(empty.FindTime(-1, true).kind, TimeSlot::NotFound);
}

// The quick lookup must answer exactly as the plain scan does, slot for slot, whatever the
// history of the ring: repeated, older, negative and NaN times, rewinds, writes by number
// and wraps.
TEST(PlotVarTime, QuickLookupAgreesWithTheScan) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 40; ++round) {
        const std::uint32_t capacity = 1 + rng() % 9;
        CPlotVar quick = Ring(capacity), plain = Ring(capacity);
        double now = 0;
        for (int step = 0; step < 3000; ++step) {
            const int op = int(rng() % 100);
            double t;
            if (op < 55) {
                now += (rng() % 4) * 0.25; // sometimes the same time again
                t = now;
            } else if (op < 65) {
                t = -1;
            } else if (op < 75) {
                t = (rng() % 40) * 0.25; // an older time, maybe stored
            } else if (op < 78) {
                t = std::numeric_limits<double>::quiet_NaN();
            } else if (op < 85) {
                const double back = (rng() % 40) * 0.25;
                const TimeSlot a = quick.FindTime(back, false);
                const TimeSlot b = plain.FindTimeByScan(back, false);
                ASSERT_EQ(a, b) << "round " << round << " step " << step;
                quick.Truncate(a.slot, a.kind == TimeSlot::NotFound);
                plain.Truncate(b.slot, b.kind == TimeSlot::NotFound);
                now = back;
                continue;
            } else if (op < 90) {
                const std::uint32_t slot = rng() % capacity;
                const double value = (rng() % 40) * 0.25;
                quick.SetAt(slot, value);
                plain.SetAt(slot, value);
                continue;
            } else {
                t = now + 1e-22; // within the tolerance of the newest time
            }
            const bool append = rng() % 8 != 0;
            const TimeSlot a = quick.FindTime(t, append);
            const TimeSlot b = plain.FindTimeByScan(t, append);
            ASSERT_EQ(a, b) << "round " << round << " step " << step << " t " << t;
            ASSERT_EQ(quick.writePos, plain.writePos);
            ASSERT_EQ(quick.wrapped, plain.wrapped);
            for (std::uint32_t i = 0; i < capacity; ++i) {
                const double x = quick.values[i], y = plain.values[i];
                ASSERT_TRUE(x == y || (std::isnan(x) && std::isnan(y))) << "slot " << i;
            }
        }
    }
}

TEST(PlotVarNames, NameBecomesTheLegendOnlyWhileTheLegendIsEmpty) {
    CPlotVar v(false);
    v.MakeRing(3);
    v.Push(1);
    EXPECT_TRUE(v.SetName("FIC101"));
    EXPECT_EQ(v.Legend(), "FIC101");
    EXPECT_EQ(v.values[0], MISSING_VALUE) << "a ring loses its samples with a new name";
    EXPECT_FALSE(v.SetName("FIC101"));
    EXPECT_TRUE(v.SetName("TIC7"));
    EXPECT_EQ(v.Legend(), "FIC101");
    v.xVarNo = 2;
    v.Reset();
    EXPECT_EQ(v.name, "");
    EXPECT_EQ(v.Legend(), "");
    EXPECT_EQ(v.xVarNo, 0);
    EXPECT_EQ(v.writePos, 0u);
}
