#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace com {

// The value types an automation call can carry (codes as in the automation runtime).
enum class VarType : std::uint16_t {
    Empty = 0,
    I2 = 2,
    I4 = 3,
    R4 = 4,
    R8 = 5,
    BStr = 8,
    Bool = 11,
    Variant = 12, // declared parameter type: any value
    Unknown = 13,
    ArrayR4 = 0x2004, // array of single-precision floats, one or two dimensions
    ByRef = 0x4000,   // flag: the value refers to a caller's variable
};

const char* VarTypeName(VarType t);

// A host-side object passed by reference. The control never owns it.
class Unknown {
public:
    virtual ~Unknown() = default;
};

// A safe array of floats with one or two dimensions. Element (i, j) of a two-dimensional
// array is sample i (dimension 1), variable j (dimension 2); storage is row-major by sample.
struct FloatArray {
    int dims = 1;
    std::int32_t lbound1 = 0, lbound2 = 0;
    std::uint32_t count1 = 0, count2 = 1;
    std::vector<float> data;

    static FloatArray Vector(std::vector<float> values);
    static FloatArray Matrix(std::uint32_t rows, std::uint32_t columns);
    float& at(std::uint32_t i, std::uint32_t j) { return data[size_t(i) * count2 + j]; }
    float at(std::uint32_t i, std::uint32_t j) const { return data[size_t(i) * count2 + j]; }
    bool operator==(const FloatArray&) const = default;
};

class Variant {
public:
    Variant() = default;
    static Variant I2(std::int16_t v) { return Variant(std::in_place, v); }
    static Variant I4(std::int32_t v) { return Variant(std::in_place, v); }
    static Variant R4(float v) { return Variant(std::in_place, v); }
    static Variant R8(double v) { return Variant(std::in_place, v); }
    static Variant Bool(bool v) { return Variant(std::in_place, BoolValue{v}); }
    static Variant Str(std::u16string v) { return Variant(std::in_place, std::move(v)); }
    static Variant Str(std::string_view narrow);
    static Variant Object(Unknown* v) { return Variant(std::in_place, v); }
    static Variant Array(FloatArray v) { return Variant(std::in_place, std::move(v)); }
    // Refers to the caller's variable; the callee writes results through it.
    static Variant Ref(Variant* target) { return Variant(std::in_place, RefValue{target}); }
    static Variant Zero(VarType t); // a fresh variable of that type holding 0, FALSE or ""

    VarType type() const;
    bool isEmpty() const { return value_.index() == 0; }
    bool isRef() const { return std::holds_alternative<RefValue>(value_); }
    Variant* ref() const;

    // Exact accessors: the value must already have that type (use Coerce otherwise).
    std::int16_t i2() const { return std::get<std::int16_t>(value_); }
    std::int32_t i4() const { return std::get<std::int32_t>(value_); }
    float r4() const { return std::get<float>(value_); }
    double r8() const { return std::get<double>(value_); }
    bool boolean() const { return std::get<BoolValue>(value_).v; }
    const std::u16string& str() const { return std::get<std::u16string>(value_); }
    std::string narrow() const; // the string as UTF-8
    Unknown* object() const { return std::get<Unknown*>(value_); }
    const FloatArray& array() const { return std::get<FloatArray>(value_); }
    FloatArray& array() { return std::get<FloatArray>(value_); }

    bool operator==(const Variant&) const = default;

private:
    struct BoolValue {
        bool v;
        bool operator==(const BoolValue&) const = default;
    };
    struct RefValue {
        Variant* target;
        bool operator==(const RefValue&) const = default;
    };
    using Store = std::variant<std::monostate, std::int16_t, std::int32_t, float, double,
                               BoolValue, std::u16string, Unknown*, FloatArray, RefValue>;
    // Builds the alternative in place: moving a whole Store makes GCC 12 report
    // -Wmaybe-uninitialized under the sanitizers wherever a factory is inlined.
    template <typename T>
    Variant(std::in_place_t, T&& v)
        : value_(std::in_place_type<std::decay_t<T>>, std::forward<T>(v)) {}
    Store value_;
};

// Converts a value to the declared type. Numbers convert between each other (reals truncate
// toward zero into integers; out-of-range values overflow), booleans read as -1 / 0, numbers and
// booleans print into strings; a string never becomes a number. A by-reference value converts
// the value it refers to. Throws DispatchError (DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW).
Variant Coerce(const Variant& v, VarType to);

// Stores value into the variable a by-reference argument refers to, converted to that
// variable's own type (an empty variable takes the value's type).
void StoreRef(const Variant& byRef, const Variant& value);

} // namespace com
