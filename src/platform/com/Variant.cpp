#include "platform/com/Variant.h"

#include "platform/com/DispatchError.h"
#include "platform/com/TextCodec.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace com {

const char* VarTypeName(VarType t) {
    switch (t) {
    case VarType::Empty: return "VT_EMPTY";
    case VarType::I2: return "short";
    case VarType::I4: return "long";
    case VarType::R4: return "float";
    case VarType::R8: return "double";
    case VarType::BStr: return "BSTR";
    case VarType::Bool: return "BOOL";
    case VarType::Variant: return "VARIANT";
    case VarType::Unknown: return "IUnknown*";
    case VarType::ArrayR4: return "SAFEARRAY(float)";
    case VarType::ByRef: return "byref";
    }
    return "?";
}

FloatArray FloatArray::Vector(std::vector<float> values) {
    FloatArray a;
    a.dims = 1;
    a.count1 = static_cast<std::uint32_t>(values.size());
    a.count2 = 1;
    a.data = std::move(values);
    return a;
}

FloatArray FloatArray::Matrix(std::uint32_t rows, std::uint32_t columns) {
    FloatArray a;
    a.dims = 2;
    a.count1 = rows;
    a.count2 = columns;
    a.data.assign(size_t(rows) * columns, 0.0f);
    return a;
}

Variant Variant::Str(std::string_view narrow) { return Str(ToWide(narrow)); }

Variant Variant::Zero(VarType t) {
    switch (t) {
    case VarType::I2: return I2(0);
    case VarType::I4: return I4(0);
    case VarType::R4: return R4(0);
    case VarType::R8: return R8(0);
    case VarType::Bool: return Bool(false);
    case VarType::BStr: return Str(std::u16string());
    case VarType::Unknown: return Object(nullptr);
    case VarType::ArrayR4: return Array(FloatArray());
    default: return Variant();
    }
}

VarType Variant::type() const {
    switch (value_.index()) {
    case 0: return VarType::Empty;
    case 1: return VarType::I2;
    case 2: return VarType::I4;
    case 3: return VarType::R4;
    case 4: return VarType::R8;
    case 5: return VarType::Bool;
    case 6: return VarType::BStr;
    case 7: return VarType::Unknown;
    case 8: return VarType::ArrayR4;
    default: return VarType::ByRef;
    }
}

Variant* Variant::ref() const {
    const auto* r = std::get_if<RefValue>(&value_);
    return r ? r->target : nullptr;
}

std::string Variant::narrow() const { return ToNarrow(str()); }

namespace {

bool IsNumeric(VarType t) {
    return t == VarType::I2 || t == VarType::I4 || t == VarType::R4 || t == VarType::R8 ||
           t == VarType::Bool;
}

double AsDouble(const Variant& v) {
    switch (v.type()) {
    case VarType::I2: return v.i2();
    case VarType::I4: return v.i4();
    case VarType::R4: return v.r4();
    case VarType::R8: return v.r8();
    case VarType::Bool: return v.boolean() ? -1.0 : 0.0;
    default: return 0.0;
    }
}

template <typename Int>
Int ToInteger(double d) {
    const double t = std::trunc(d);
    if (!(t >= double(std::numeric_limits<Int>::min()) &&
          t <= double(std::numeric_limits<Int>::max())))
        throw DispatchError(DISP_E_OVERFLOW, "Overflow");
    return static_cast<Int>(t);
}

std::string NumberText(const Variant& v) {
    char buf[64];
    std::to_chars_result r{};
    switch (v.type()) {
    case VarType::I2: r = std::to_chars(buf, buf + sizeof buf, v.i2()); break;
    case VarType::I4: r = std::to_chars(buf, buf + sizeof buf, v.i4()); break;
    case VarType::R4: r = std::to_chars(buf, buf + sizeof buf, v.r4()); break;
    case VarType::R8: r = std::to_chars(buf, buf + sizeof buf, v.r8()); break;
    case VarType::Bool: return v.boolean() ? "True" : "False";
    default: return std::string();
    }
    return std::string(buf, r.ptr);
}

} // namespace

Variant Coerce(const Variant& v, VarType to) {
    if (v.isRef()) {
        const Variant* target = v.ref();
        if (!target) throw DispatchError(DISP_E_TYPEMISMATCH, "Null reference");
        return Coerce(*target, to);
    }
    const VarType from = v.type();
    if (from == to || to == VarType::Variant) return v;
    if (IsNumeric(from) && IsNumeric(to)) {
        const double d = AsDouble(v);
        switch (to) {
        case VarType::I2: return Variant::I2(ToInteger<std::int16_t>(d));
        case VarType::I4: return Variant::I4(ToInteger<std::int32_t>(d));
        case VarType::R4:
            // Overflow only what would round to infinity: halfway between the largest float
            // and 2^128. The shortest text of the largest float reads back just above it.
            if (std::isfinite(d) && std::fabs(d) >= 0x1.ffffffp127)
                throw DispatchError(DISP_E_OVERFLOW, "Overflow");
            return Variant::R4(static_cast<float>(d));
        case VarType::R8: return Variant::R8(d);
        case VarType::Bool: return Variant::Bool(d != 0.0);
        default: break;
        }
    }
    if (to == VarType::BStr && IsNumeric(from)) return Variant::Str(NumberText(v));
    if (from == VarType::Empty) return Variant::Zero(to);
    if (to == VarType::Unknown && from == VarType::Empty) return Variant::Object(nullptr);
    throw DispatchError(DISP_E_TYPEMISMATCH, std::string("Type mismatch: ") + VarTypeName(from) +
                                                 " where " + VarTypeName(to) + " is expected");
}

void StoreRef(const Variant& byRef, const Variant& value) {
    Variant* target = byRef.ref();
    if (!target) throw DispatchError(DISP_E_TYPEMISMATCH, "Out parameter is not a reference");
    if (target->isEmpty())
        *target = value;
    else
        *target = Coerce(value, target->type());
}

} // namespace com
