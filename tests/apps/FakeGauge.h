#pragma once
#include "platform/com/ConnectionPoint.h"
#include "platform/com/IDispatch.h"

#include <functional>
#include <stdexcept>

// A small automation object for driving the shell: properties of every value type, methods
// with out and in/out parameters, methods that fire events or fail, and three events.
class FakeGauge : public com::IDispatch {
public:
    enum Event : com::DISPID { Progress = 1, Changed = 2, Message = 3 };

    const com::TypeInfo& GetTypeInfo() const override { return Map().info(); }
    com::Variant Invoke(com::DISPID id, com::InvokeKind kind,
                        std::span<com::Variant> args) override {
        return Map().Invoke(*this, id, kind, args);
    }
    const com::TypeInfo* GetEventTypeInfo() const override {
        return withEvents ? &EventInfo() : nullptr;
    }
    com::ConnectionPoint* GetConnectionPoint() override { return withEvents ? &events : nullptr; }

    void Fire(Event id, std::vector<com::Variant> args = {}) { events.Fire(id, args); }

    bool withEvents = true;
    com::ConnectionPoint events;
    short width = 0;
    float scale = 0;
    double offset = 0;
    bool visible = false;
    std::string caption;
    com::FloatArray data;
    com::Variant tag;
    int resets = 0;

private:
    static const com::TypeInfo& EventInfo();
    static const com::DispatchMap<FakeGauge>& Map();
};
