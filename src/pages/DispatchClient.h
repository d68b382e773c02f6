#pragma once
#include "platform/com/IDispatch.h"

#include <string>
#include <vector>

// Calls the members of one dispatch object by DISPID with plain C++ values.
class CDispatchClient {
public:
    explicit CDispatchClient(com::IDispatch& target) : target_(target) {}

    bool Bool(com::DISPID property);
    int Int(com::DISPID property);
    double Real(com::DISPID property);
    std::string Text(com::DISPID property);
    void Put(com::DISPID property, com::Variant value);

    // A method call; out-parameters are passed as com::Variant::Ref.
    com::Variant Call(com::DISPID method, std::vector<com::Variant> args);
    int CallInt(com::DISPID method, std::vector<com::Variant> args);
    std::string CallText(com::DISPID method, std::vector<com::Variant> args);

    static com::Variant I2(int v) { return com::Variant::I2(static_cast<std::int16_t>(v)); }
    static int IntOf(const com::Variant& v);
    static double RealOf(const com::Variant& v);

private:
    com::Variant Get(com::DISPID property);
    com::IDispatch& target_;
};
