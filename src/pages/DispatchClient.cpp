#include "pages/DispatchClient.h"

#include "platform/com/Variant.h"

using com::Variant;
using com::VarType;

Variant CDispatchClient::Get(com::DISPID property) {
    return target_.Invoke(property, com::InvokeKind::PropertyGet, {});
}

bool CDispatchClient::Bool(com::DISPID property) {
    return com::Coerce(Get(property), VarType::Bool).boolean();
}

int CDispatchClient::Int(com::DISPID property) {
    return IntOf(Get(property));
}

double CDispatchClient::Real(com::DISPID property) {
    return RealOf(Get(property));
}

std::string CDispatchClient::Text(com::DISPID property) {
    return Get(property).narrow();
}

void CDispatchClient::Put(com::DISPID property, Variant value) {
    Variant args[] = {std::move(value)};
    target_.Invoke(property, com::InvokeKind::PropertyPut, args);
}

Variant CDispatchClient::Call(com::DISPID method, std::vector<Variant> args) {
    return target_.Invoke(method, com::InvokeKind::Method, args);
}

int CDispatchClient::CallInt(com::DISPID method, std::vector<Variant> args) {
    return IntOf(Call(method, std::move(args)));
}

std::string CDispatchClient::CallText(com::DISPID method, std::vector<Variant> args) {
    return Call(method, std::move(args)).narrow();
}

int CDispatchClient::IntOf(const Variant& v) {
    return com::Coerce(v, VarType::I4).i4();
}

double CDispatchClient::RealOf(const Variant& v) {
    return com::Coerce(v, VarType::R8).r8();
}
