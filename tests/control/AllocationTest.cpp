// Counts heap allocations (support/AllocationHooks): new allocations inside the measured
// loops, and the live allocations a change of size leaves behind.
#include "control/ControlHarness.h"
#include "support/AllocationHooks.h"
#include "support/CtrlProbe.h"

// Counts the events without storing them, so that listening costs no allocation.
class CountingSink : public com::IEventSink {
public:
    void Invoke(com::DISPID id, std::span<const com::Variant>) override {
        zoomed += id == EV_Zoomed;
    }
    int zoomed = 0;
};

TEST(AllocationCount, LiveSamplesInAWrappedRunPlotAllocateNothing) {
    ui::HeadlessSite site;
    CTrendixCtrl c(site);
    c.OnSize(400, 310);
    CountingSink sink;
    c.GetConnectionPoint()->Advise(&sink);
    c.Setnvariables(16);
    c.SetBufferSize(2000);
    c.SetRunPlot(true);
    const double dt = 0.001;
    long step = 0;
    auto feed = [&](long steps) {
        for (long k = 0; k < steps; ++k, ++step)
            for (std::int16_t v = 1; v <= 16; ++v)
                c.AddTimeData(v, double(step) * dt, double(v) + double(k % 7));
    };
    // Warm up: wrap the rings and let the time axis advance a few times.
    feed(2600);
    ASSERT_TRUE(c.Model()->XVar(0)->wrapped);
    ASSERT_TRUE(CtrlProbe::Scrolled(c));
    const int zoomedBefore = sink.zoomed;
    long allocations = 0;
    {
        CountingScope scope;
        feed(1000);
        allocations = scope.count();
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(sink.zoomed, zoomedBefore); // the measured loop advanced the axis
    double v = 0;
    ASSERT_TRUE(c.GetData(0, 1599, v));
    EXPECT_NEAR(v, 3599 * dt, 1e-9);
    ASSERT_TRUE(c.GetData(16, 1599, v));
    EXPECT_EQ(v, 16.0 + double(999 % 7));

    // Through the dispatch interface, with the DISPID looked up once.
    const com::DISPID id = c.GetIDOfName("AddTimeData");
    com::Variant args[3];
    {
        CountingScope scope;
        for (long k = 0; k < 400; ++k, ++step) {
            for (std::int16_t var = 1; var <= 16; ++var) {
                args[0] = com::Variant::I2(var);
                args[1] = com::Variant::R8(double(step) * dt);
                args[2] = com::Variant::R8(1.0);
                c.Invoke(id, com::InvokeKind::Method, args);
            }
        }
        allocations = scope.count();
    }
    EXPECT_EQ(allocations, 0);
    ASSERT_TRUE(c.GetData(0, 1999, v));
    EXPECT_NEAR(v, 3999 * dt, 1e-9);
}

using AllocationCountControl = ControlHarness;

TEST_F(AllocationCountControl, ThirtyTwoThousandVariablesAndBackFreesThem) {
    Get("nvariables"); // the first call builds the dispatch tables, which stay
    const long before = LiveAllocations();
    Put("nvariables", com::Variant::I2(32767));
    const long grown = LiveAllocations();
    EXPECT_GT(grown - before, 32000);
    EXPECT_EQ(c.Model()->NYVars(), 32767);
    EXPECT_EQ(Call("GetVariable", {com::Variant::I2(32766)}), com::Variant::Str("Var. 32767"));
    Put("nvariables", com::Variant::I2(1));
    EXPECT_EQ(c.Model()->NYVars(), 1);
    EXPECT_EQ(Get("nvariables"), com::Variant::I2(1));
    EXPECT_EQ(Call("GetNYaxes"), com::Variant::I2(1));
    // What stays is the names list (it never shrinks) and the spare capacity of the arrays.
    EXPECT_EQ(Call("GetVariable", {com::Variant::I2(32766)}), com::Variant::Str("Var. 32767"));
    EXPECT_LT(LiveAllocations() - before, 64);
}
