#pragma once
#include "platform/com/ConnectionPoint.h"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace py = pybind11;

// The Python side of a control's events: handler objects whose methods are named after the
// events (OnZoomed, or the event's own name such as OnClick), and callables per event. Events
// are delivered synchronously, while the control works; a handler may call back into the
// control, and may connect or disconnect handlers meanwhile. An exception a handler raises
// goes to sys.unraisablehook and never into the control.
class PyEvents : public com::IEventSink {
public:
    PyEvents(const com::TypeInfo& events, com::ConnectionPoint& point);
    ~PyEvents() override;
    PyEvents(const PyEvents&) = delete;
    PyEvents& operator=(const PyEvents&) = delete;

    int Connect(py::object handler); // answers a cookie for Disconnect
    void Disconnect(int cookie);
    // Answers the event's name as declared; KeyError for a name that is no event.
    std::string On(const std::string& event, py::object callable);
    void Off(const std::string& event, py::handle callable); // None: every callable of it
    void Clear();                                            // forgets every handler

    void Invoke(com::DISPID id, std::span<const com::Variant> args) override;
    // Whether a handler runs now (a window's input may be what is being handled).
    bool Delivering() const { return depth_ > 0; }

private:
    const com::MemberInfo& EventOf(const std::string& name) const;
    static void Deliver(py::handle callable, const py::tuple& args, const char* where);

    const com::TypeInfo& events_;
    com::ConnectionPoint& point_;
    std::uint32_t cookie_ = 0;
    std::map<int, py::object> handlers_;
    std::map<com::DISPID, std::vector<py::object>> callables_;
    int nextHandler_ = 1;
    int depth_ = 0; // events being delivered, nested
};
