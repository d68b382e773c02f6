#pragma once
#include "control/TrendixCtrl.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/HeadlessSite.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <vector>

// Records every event the control fires; an optional action runs inside the event, as a host
// handler would.
class RecordingSink : public com::IEventSink {
public:
    struct Event {
        com::DISPID id;
        std::vector<com::Variant> args;
    };
    void Invoke(com::DISPID id, std::span<const com::Variant> args) override {
        events.push_back({id, {args.begin(), args.end()}});
        if (action) action(id, args);
    }
    int Count(com::DISPID id) const {
        int n = 0;
        for (const Event& e : events)
            n += e.id == id;
        return n;
    }
    std::vector<Event> events;
    std::function<void(com::DISPID, std::span<const com::Variant>)> action;
};

// The status an automation call fails with; S_OK when it succeeds.
inline com::HRESULT StatusOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const com::DispatchError& e) {
        return e.hr();
    }
    return com::S_OK;
}

struct Persisted {
    const char* name;
    com::Variant dflt;
};

// Every persisted property with the value of a new control, in the order of the set.
inline const Persisted kPersisted[] = {
    {"Title", com::Variant::Str("Title")},
    {"xlabel", com::Variant::Str("X Label")},
    {"ylabel", com::Variant::Str("Y Label")},
    {"nvariables", com::Variant::I2(1)},
    {"nxvariables", com::Variant::I2(1)},
    {"PlotType", com::Variant::I2(0)},
    {"MultiYaxis", com::Variant::Bool(false)},
    {"RunPlot", com::Variant::Bool(false)},
    {"UseVariable", com::Variant::Bool(false)},
    {"TimeWindow", com::Variant::R4(1.0f)},
    {"TimeScrollUnit", com::Variant::R4(0.2f)},
    {"GridType", com::Variant::I2(0)},
    {"MarkerSize", com::Variant::I2(4)},
    {"MarkerInterval", com::Variant::I2(1)},
    {"Flipped", com::Variant::Bool(false)},
    {"SquarePlot", com::Variant::Bool(false)},
    {"DiagonalLine", com::Variant::Bool(false)},
    {"ZeroLine", com::Variant::Bool(false)},
    {"Parametric", com::Variant::Bool(false)},
    {"ReverseXAxis", com::Variant::Bool(false)},
    {"ShowLegend", com::Variant::Bool(false)},
    {"AddTimeStamp", com::Variant::Bool(false)},
    {"DisplayType", com::Variant::I2(2)},
    {"BufferSize", com::Variant::I4(2000)},
    {"SizeToData", com::Variant::Bool(false)},
    {"VariableDrop", com::Variant::Bool(true)},
    {"IgnoreSetLegend", com::Variant::Bool(false)},
    {"CommunicationIntervals", com::Variant::I2(1)},
    {"InputFile", com::Variant::Str("")},
};

// A sited control of the default size with a recording sink, driven by name.
class ControlHarness : public testing::Test {
protected:
    ControlHarness() {
        c.OnSize(400, 310);
        c.GetConnectionPoint()->Advise(&sink);
    }

    com::Variant Get(const char* name) {
        return c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyGet, {});
    }
    void Put(const char* name, com::Variant value) {
        com::Variant args[] = {std::move(value)};
        c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyPut, args);
    }
    com::Variant Call(const char* name, std::vector<com::Variant> args = {}) {
        return c.Invoke(c.GetIDOfName(name), com::InvokeKind::Method, args);
    }

    // One value through GetData, and whether it was readable.
    bool GetData(short varNo, short dataNo, double& value) {
        com::Variant out = com::Variant::R8(-1);
        const com::Variant ok = Call("GetData", {com::Variant::I2(varNo), com::Variant::I2(dataNo),
                                                 com::Variant::Ref(&out)});
        value = out.r8();
        return ok.boolean();
    }
    double Data(short varNo, short dataNo) {
        double v = 0;
        GetData(varNo, dataNo, v);
        return v;
    }
    void AddTimeData(short varNo, double time, double value) {
        Call("AddTimeData",
             {com::Variant::I2(varNo), com::Variant::R8(time), com::Variant::R8(value)});
    }

    // A recording window surface and an XY plot of three points over 0..10 x 0..100.
    void UseThreePointPlot() {
        site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
        site.ResizeSurface(400, 310);
        Put("npoints", com::Variant::I2(3));
        for (short i = 0; i < 3; ++i) {
            Call("SetXData", {com::Variant::I2(1), com::Variant::I2(i), com::Variant::R8(i * 5.0)});
            Call("SetData", {com::Variant::I2(1), com::Variant::I2(i), com::Variant::R8(i * 50.0)});
        }
    }

    ui::HeadlessSite site;
    CTrendixCtrl c{site};
    RecordingSink sink;
};
