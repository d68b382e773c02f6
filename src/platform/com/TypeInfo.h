#pragma once
#include "platform/com/Variant.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace com {

using DISPID = std::int32_t;

enum class InvokeKind { Method = 1, PropertyGet = 2, PropertyPut = 4 };
enum class ParamDir { In, Out, InOut };

struct ParamInfo {
    std::string name;
    VarType type = VarType::I2;
    ParamDir dir = ParamDir::In;
};

struct MemberInfo {
    std::string name;
    DISPID id = 0;
    bool isProperty = false;
    VarType type = VarType::Empty; // property type, or method result (Empty: none)
    std::vector<ParamInfo> params;
};

// The description of one dispatch interface: its members by name (matched without regard to
// case) and by DISPID.
class TypeInfo {
public:
    explicit TypeInfo(std::string name, std::string doc = {});
    const std::string& name() const { return name_; }
    const std::string& doc() const { return doc_; }

    size_t Add(MemberInfo member); // returns the member's index
    const std::vector<MemberInfo>& members() const { return members_; }
    const MemberInfo* Find(std::string_view name) const;
    const MemberInfo* Find(DISPID id) const;
    int IndexOf(DISPID id) const; // -1 when absent

    // Checks an invocation against the member's declaration and converts the in-parameters to
    // their declared types in place. Returns the member's index. Throws DispatchError.
    size_t Prepare(DISPID id, InvokeKind kind, std::span<Variant> args) const;

private:
    static std::string Fold(std::string_view s);
    std::string name_;
    std::string doc_;
    std::vector<MemberInfo> members_;
    std::unordered_map<std::string, size_t> byName_;
    std::unordered_map<DISPID, size_t> byId_;
};

} // namespace com
