#pragma once
#include "platform/com/DispatchError.h"
#include "platform/com/TypeInfo.h"

#include <span>

namespace com {

class ConnectionPoint;

// An object driven by name and DISPID. Arguments come in declaration order; out-parameters are
// by-reference values the callee writes through.
class IDispatch {
public:
    virtual ~IDispatch() = default;
    virtual const TypeInfo& GetTypeInfo() const = 0;
    virtual Variant Invoke(DISPID id, InvokeKind kind, std::span<Variant> args) = 0;
    // The outgoing event interface and its connection point; null when there are no events.
    virtual const TypeInfo* GetEventTypeInfo() const { return nullptr; }
    virtual ConnectionPoint* GetConnectionPoint() { return nullptr; }

    DISPID GetIDOfName(std::string_view name) const {
        const MemberInfo* m = GetTypeInfo().Find(name);
        if (!m) throw DispatchError(DISP_E_UNKNOWNNAME, "Unknown name: " + std::string(name));
        return m->id;
    }
};

// Binds the members of a TypeInfo to plain functions of one class.
template <class T>
class DispatchMap {
public:
    using Getter = Variant (*)(T&);
    using Putter = void (*)(T&, const Variant&);
    using Caller = Variant (*)(T&, std::span<Variant>);

    explicit DispatchMap(TypeInfo info) : info_(std::move(info)) {}

    void Property(std::string name, DISPID id, VarType type, Getter get, Putter put) {
        info_.Add(MemberInfo{std::move(name), id, true, type, {}});
        handlers_.push_back({get, put, nullptr});
    }
    void Method(std::string name, DISPID id, VarType result, std::vector<ParamInfo> params,
                Caller call) {
        info_.Add(MemberInfo{std::move(name), id, false, result, std::move(params)});
        handlers_.push_back({nullptr, nullptr, call});
    }

    const TypeInfo& info() const { return info_; }

    Variant Invoke(T& self, DISPID id, InvokeKind kind, std::span<Variant> args) const {
        const size_t i = info_.Prepare(id, kind, args);
        const Handlers& h = handlers_[i];
        if (h.call) return h.call(self, args);
        // A read-only (or write-only) property has no handler for the other direction.
        if (kind == InvokeKind::PropertyPut) {
            if (!h.put) throw DispatchError(DISP_E_MEMBERNOTFOUND, "Property is read-only");
            h.put(self, args[0]);
            return Variant();
        }
        if (!h.get) throw DispatchError(DISP_E_MEMBERNOTFOUND, "Property is write-only");
        return h.get(self);
    }

private:
    struct Handlers {
        Getter get;
        Putter put;
        Caller call;
    };
    TypeInfo info_;
    std::vector<Handlers> handlers_;
};

} // namespace com
