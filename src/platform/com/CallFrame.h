#pragma once
#include "platform/com/TypeInfo.h"

#include <span>
#include <vector>

namespace com {

// The arguments of one invocation, laid out as a host lays them out: the host writes the in
// and in/out parameters in order; by-reference arguments refer to variables the frame owns,
// which the host reads back after the call.
class CallFrame {
public:
    // declared: the member called, or null when the name is not known.
    explicit CallFrame(const MemberInfo* declared) : member_(declared) {}
    CallFrame(const CallFrame&) = delete;
    CallFrame& operator=(const CallFrame&) = delete;

    // The parameters a host writes: the in and in/out ones.
    static size_t WrittenCount(const MemberInfo& m);

    // What the host wrote fills the in and in/out parameters; out-only ones get a fresh
    // variable holding zero. Values that do not fit the declaration go as written, so that the
    // dispatcher reports what is wrong with them.
    void Bind(std::vector<Variant> written);
    // The values go as written (a property's value, or arguments of an unknown member).
    void Assign(std::vector<Variant> written) { args_ = std::move(written); }

    // A method whose parameters are all out-only: the host has nothing to write for it.
    bool TakesOnlyOutputs() const;
    // Whether the invocation answers a value worth showing.
    bool HasResult(InvokeKind kind, const Variant& result) const;

    std::span<Variant> args() { return args_; }
    // The values of the out and in/out parameters after the call, in declaration order.
    std::vector<Variant> Outputs() const;
    const MemberInfo* member() const { return member_; }

private:
    const MemberInfo* member_;
    std::vector<Variant> variables_;
    std::vector<Variant> args_;
    std::vector<size_t> outputs_; // indexes into variables_, in declaration order
};

} // namespace com
