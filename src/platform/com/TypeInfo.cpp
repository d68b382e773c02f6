#include "platform/com/TypeInfo.h"

#include "platform/com/DispatchError.h"

#include <cctype>

namespace com {

TypeInfo::TypeInfo(std::string name, std::string doc) : name_(std::move(name)), doc_(std::move(doc)) {}

std::string TypeInfo::Fold(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

size_t TypeInfo::Add(MemberInfo member) {
    const size_t index = members_.size();
    byName_.emplace(Fold(member.name), index);
    byId_.emplace(member.id, index);
    members_.push_back(std::move(member));
    return index;
}

const MemberInfo* TypeInfo::Find(std::string_view name) const {
    const auto it = byName_.find(Fold(name));
    return it == byName_.end() ? nullptr : &members_[it->second];
}

const MemberInfo* TypeInfo::Find(DISPID id) const {
    const int i = IndexOf(id);
    return i < 0 ? nullptr : &members_[size_t(i)];
}

int TypeInfo::IndexOf(DISPID id) const {
    const auto it = byId_.find(id);
    return it == byId_.end() ? -1 : int(it->second);
}

size_t TypeInfo::Prepare(DISPID id, InvokeKind kind, std::span<Variant> args) const {
    const int index = IndexOf(id);
    if (index < 0) throw DispatchError(DISP_E_MEMBERNOTFOUND, "Member not found");
    const MemberInfo& m = members_[size_t(index)];
    if (m.isProperty) {
        if (kind == InvokeKind::PropertyPut) {
            if (args.size() != 1) throw DispatchError(DISP_E_BADPARAMCOUNT, "Invalid number of parameters");
            args[0] = Coerce(args[0], m.type);
        } else if (!args.empty()) {
            throw DispatchError(DISP_E_BADPARAMCOUNT, "Invalid number of parameters");
        }
        return size_t(index);
    }
    if (kind == InvokeKind::PropertyPut)
        throw DispatchError(DISP_E_MEMBERNOTFOUND, "Member not found");
    if (args.size() != m.params.size())
        throw DispatchError(DISP_E_BADPARAMCOUNT, "Invalid number of parameters");
    for (size_t i = 0; i < args.size(); ++i) {
        const ParamInfo& p = m.params[i];
        if (p.dir == ParamDir::In) {
            args[i] = Coerce(args[i], p.type);
        } else if (!args[i].isRef() || args[i].ref() == nullptr) {
            throw DispatchError(DISP_E_TYPEMISMATCH,
                                "Parameter " + p.name + " must be passed by reference");
        }
    }
    return size_t(index);
}

} // namespace com
