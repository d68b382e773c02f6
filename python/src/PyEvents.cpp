#include "PyEvents.h"

#include "PyValues.h"

PyEvents::PyEvents(const com::TypeInfo& events, com::ConnectionPoint& point)
    : events_(events), point_(point) {
    cookie_ = point_.Advise(this);
}

PyEvents::~PyEvents() {
    point_.Unadvise(cookie_);
}

int PyEvents::Connect(py::object handler) {
    if (handler.is_none()) throw py::type_error("connect(): handler must not be None");
    const int cookie = nextHandler_++;
    handlers_.emplace(cookie, std::move(handler));
    return cookie;
}

void PyEvents::Disconnect(int cookie) {
    if (handlers_.erase(cookie) == 0)
        throw py::key_error("disconnect(): no handler is connected as " + std::to_string(cookie));
}

const com::MemberInfo& PyEvents::EventOf(const std::string& name) const {
    const com::MemberInfo* m = events_.Find(name);
    if (!m) throw py::key_error("no event is named " + name);
    return *m;
}

std::string PyEvents::On(const std::string& event, py::object callable) {
    const com::MemberInfo& m = EventOf(event);
    if (!PyCallable_Check(callable.ptr()))
        throw py::type_error("on(): the handler of " + m.name + " must be callable");
    callables_[m.id].push_back(std::move(callable));
    return m.name;
}

void PyEvents::Off(const std::string& event, py::handle callable) {
    const com::MemberInfo& m = EventOf(event);
    auto& list = callables_[m.id];
    if (callable.is_none()) {
        list.clear();
        return;
    }
    std::erase_if(list, [&](const py::object& f) { return f.equal(callable); });
}

void PyEvents::Clear() {
    handlers_.clear();
    callables_.clear();
}

void PyEvents::Deliver(py::handle callable, const py::tuple& args, const char* where) {
    try {
        callable(*args);
    } catch (py::error_already_set& e) {
        e.discard_as_unraisable(where);
    } catch (const std::exception& e) {
        // A C++ failure inside a handler's call back into the control: reported the same way.
        PyErr_SetString(PyExc_RuntimeError, e.what());
        py::error_already_set().discard_as_unraisable(where);
    }
}

void PyEvents::Invoke(com::DISPID id, std::span<const com::Variant> args) {
    // Qt may be handling events with the lock released (View.exec): take it before reading
    // the handlers, which Python threads change.
    py::gil_scoped_acquire gil;
    const com::MemberInfo* m = events_.Find(id);
    if (!m || (handlers_.empty() && callables_.empty())) return;
    py::tuple values(args.size());
    for (size_t i = 0; i < args.size(); ++i)
        values[i] = PyValues::FromVariant(args[i]);
    const std::string where = "trendix event " + m->name;
    ++depth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{depth_};
    // Copies: a handler may connect or disconnect others while this event is delivered.
    const std::string method = "On" + m->name;
    for (const auto& [cookie, handler] : std::map<int, py::object>(handlers_)) {
        py::object f = py::getattr(handler, method.c_str(), py::none());
        if (f.is_none()) f = py::getattr(handler, m->name.c_str(), py::none());
        if (!f.is_none()) Deliver(f, values, where.c_str());
    }
    const auto found = callables_.find(id);
    if (found == callables_.end()) return;
    for (const py::object& f : std::vector<py::object>(found->second))
        Deliver(f, values, where.c_str());
}
