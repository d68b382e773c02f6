#pragma once
#include "PyEvents.h"
#include "control/TrendixCtrl.h"
#include "front/PlotImpl.h"
#include "platform/ui/HeadlessSite.h"
#include "platform/ui/SiteRelay.h"

#include <pybind11/pybind11.h>

#include <string>

namespace py = pybind11;

// One control driven from Python: a headless control whose members are reached by name
// through its dispatch interface, its typed front for bulk data, and its events. Its window
// services go through a relay, so that a View shows the same control in a window.
class PyControl {
public:
    PyControl(int width, int height);
    PyControl(const PyControl&) = delete;
    PyControl& operator=(const PyControl&) = delete;

    CTrendixCtrl& control() { return control_; }
    trendix::Plot& plot() { return plot_; }
    ui::SiteRelay& relay() { return relay_; }
    PyEvents& events() { return events_; }
    const com::TypeInfo& typeInfo() const { return control_.GetTypeInfo(); }
    // Whether a window shows the control now (its services go to the window's site).
    bool InWindow() const { return &relay_.target() != &headless_; }

    // The size the control is laid out for, as a window would give it; a View gives its own.
    void Resize(int width, int height);

    // The member of that name, in any case; AttributeError when there is none.
    const com::MemberInfo& Member(const std::string& name) const;
    py::object Get(const com::MemberInfo& property);
    void Put(const com::MemberInfo& property, py::handle value);
    // A method: the in and in/out parameters in order. Answers the result, then the out and
    // in/out values: one value alone as it is, several as a tuple, none as None.
    py::object Call(const com::MemberInfo& method, const py::args& args);

    // "Name(Param: type, ...) -> type", as help() and errors show a member.
    static std::string Signature(const com::MemberInfo& m);

private:
    ui::HeadlessSite headless_;
    ui::SiteRelay relay_{headless_};
    CTrendixCtrl control_{relay_};
    trendix::Plot plot_{std::make_unique<trendix::Plot::Impl>(control_)};
    PyEvents events_{*control_.GetEventTypeInfo(), *control_.GetConnectionPoint()};
};

// A method of one control, as `control.Name` answers it: callable, with the member's
// signature for help(). It refers to its control weakly, so that a control whose methods are
// remembered can still go away.
class PyMember {
public:
    PyMember(py::handle owner, const com::MemberInfo& member);
    py::object Call(const py::args& args) const;
    const com::MemberInfo& info() const { return member_; }
    std::string Doc() const;

private:
    py::weakref owner_;
    const com::MemberInfo& member_;
};
