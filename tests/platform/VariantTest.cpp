#include "platform/com/Variant.h"
#include "platform/com/DispatchError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace com;

namespace {

HRESULT CoerceError(const Variant& v, VarType to) {
    try {
        Coerce(v, to);
    } catch (const DispatchError& e) {
        return e.hr();
    }
    return S_OK;
}

} // namespace

TEST(VariantCoerce, RealsTruncateTowardZeroIntoIntegers) {
    EXPECT_EQ(Coerce(Variant::R8(2.9), VarType::I2).i2(), 2);
    EXPECT_EQ(Coerce(Variant::R8(-2.9), VarType::I2).i2(), -2);
    EXPECT_EQ(Coerce(Variant::R4(-0.5f), VarType::I4).i4(), 0);
    EXPECT_EQ(Coerce(Variant::R8(32767.99), VarType::I2).i2(), 32767);
    EXPECT_EQ(Coerce(Variant::R8(-32768.99), VarType::I2).i2(), -32768);
    EXPECT_EQ(Coerce(Variant::R8(2147483647.5), VarType::I4).i4(), 2147483647);
}

TEST(VariantCoerce, OutOfRangeOverflows) {
    EXPECT_EQ(CoerceError(Variant::R8(1e10), VarType::I2), DISP_E_OVERFLOW);
    EXPECT_EQ(CoerceError(Variant::R8(32768), VarType::I2), DISP_E_OVERFLOW);
    EXPECT_EQ(CoerceError(Variant::I4(-32769), VarType::I2), DISP_E_OVERFLOW);
    EXPECT_EQ(CoerceError(Variant::R8(2147483648.0), VarType::I4), DISP_E_OVERFLOW);
    EXPECT_EQ(CoerceError(Variant::R8(1e300), VarType::R4), DISP_E_OVERFLOW);
    EXPECT_EQ(CoerceError(Variant::R8(-1e39), VarType::R4), DISP_E_OVERFLOW);
}

TEST(VariantCoerce, RealsThatRoundToTheLargestFloatDoNotOverflow) {
    const float max = std::numeric_limits<float>::max();
    // The shortest text of the largest float reads back as a double just above it.
    EXPECT_EQ(Coerce(Variant::R8(3.4028235e38), VarType::R4).r4(), max);
    EXPECT_EQ(Coerce(Variant::R8(-3.4028235e38), VarType::R4).r4(), -max);
    EXPECT_EQ(Coerce(Variant::R8(0x1.fffffefffffffp127), VarType::R4).r4(), max);
    EXPECT_EQ(CoerceError(Variant::R8(0x1.ffffffp127), VarType::R4), DISP_E_OVERFLOW);
}

TEST(VariantCoerce, NonFiniteRealsOverflowIntegersButStayReals) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(CoerceError(Variant::R8(nan), VarType::I4), DISP_E_OVERFLOW);
    EXPECT_EQ(CoerceError(Variant::R8(nan), VarType::I2), DISP_E_OVERFLOW);
    EXPECT_EQ(CoerceError(Variant::R8(inf), VarType::I4), DISP_E_OVERFLOW);
    EXPECT_EQ(CoerceError(Variant::R4(-std::numeric_limits<float>::infinity()), VarType::I2),
              DISP_E_OVERFLOW);
    EXPECT_TRUE(std::isnan(Coerce(Variant::R8(nan), VarType::R4).r4()));
    EXPECT_TRUE(std::isinf(Coerce(Variant::R8(-inf), VarType::R4).r4()));
}

TEST(VariantCoerce, StringsNeverBecomeNumbers) {
    for (VarType to : {VarType::I2, VarType::I4, VarType::R4, VarType::R8, VarType::Bool})
        EXPECT_EQ(CoerceError(Variant::Str("12"), to), DISP_E_TYPEMISMATCH) << VarTypeName(to);
}

TEST(VariantCoerce, UnrelatedKindsMismatch) {
    EXPECT_EQ(CoerceError(Variant::Array(FloatArray::Vector({1})), VarType::R4),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(CoerceError(Variant::R4(1), VarType::ArrayR4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(CoerceError(Variant::Object(nullptr), VarType::I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(CoerceError(Variant::Str("x"), VarType::Unknown), DISP_E_TYPEMISMATCH);
}

TEST(VariantCoerce, BooleansReadAsMinusOneAndZero) {
    EXPECT_EQ(Coerce(Variant::Bool(true), VarType::I2).i2(), -1);
    EXPECT_EQ(Coerce(Variant::Bool(true), VarType::I4).i4(), -1);
    EXPECT_EQ(Coerce(Variant::Bool(true), VarType::R8).r8(), -1.0);
    EXPECT_EQ(Coerce(Variant::Bool(false), VarType::R4).r4(), 0.0f);
    EXPECT_TRUE(Coerce(Variant::I4(2), VarType::Bool).boolean());
    EXPECT_TRUE(Coerce(Variant::R8(0.25), VarType::Bool).boolean());
    EXPECT_FALSE(Coerce(Variant::I2(0), VarType::Bool).boolean());
}

TEST(VariantCoerce, NumbersPrintIntoStrings) {
    EXPECT_EQ(Coerce(Variant::I4(-42), VarType::BStr).narrow(), "-42");
    EXPECT_EQ(Coerce(Variant::I2(7), VarType::BStr).narrow(), "7");
    EXPECT_EQ(Coerce(Variant::R4(0.1f), VarType::BStr).narrow(), "0.1");
    EXPECT_EQ(Coerce(Variant::R8(0.1), VarType::BStr).narrow(), "0.1");
    EXPECT_EQ(Coerce(Variant::R8(2.5), VarType::BStr).narrow(), "2.5");
    EXPECT_EQ(Coerce(Variant::Bool(true), VarType::BStr).narrow(), "True");
}

TEST(VariantCoerce, EmptyBecomesZeroOfTheType) {
    EXPECT_EQ(Coerce(Variant(), VarType::I2), Variant::I2(0));
    EXPECT_EQ(Coerce(Variant(), VarType::I4), Variant::I4(0));
    EXPECT_EQ(Coerce(Variant(), VarType::R4), Variant::R4(0));
    EXPECT_EQ(Coerce(Variant(), VarType::R8), Variant::R8(0));
    EXPECT_EQ(Coerce(Variant(), VarType::Bool), Variant::Bool(false));
    EXPECT_EQ(Coerce(Variant(), VarType::BStr), Variant::Str(std::u16string()));
    EXPECT_EQ(Coerce(Variant(), VarType::Unknown), Variant::Object(nullptr));
    EXPECT_TRUE(Coerce(Variant(), VarType::Variant).isEmpty());
}

TEST(VariantCoerce, SameTypeAndVariantKeepTheValue) {
    const Variant s = Variant::Str("abc");
    EXPECT_EQ(Coerce(s, VarType::BStr), s);
    EXPECT_EQ(Coerce(s, VarType::Variant), s);
    const Variant a = Variant::Array(FloatArray::Vector({1, 2}));
    EXPECT_EQ(Coerce(a, VarType::ArrayR4), a);
    EXPECT_EQ(Coerce(Variant::R4(1.5f), VarType::R8).r8(), 1.5);
}

TEST(VariantCoerce, ByReferenceConvertsTheReferredValue) {
    Variant target = Variant::R8(-7.8);
    const Variant ref = Variant::Ref(&target);
    EXPECT_EQ(ref.type(), VarType::ByRef);
    EXPECT_EQ(Coerce(ref, VarType::I4), Variant::I4(-7));
    EXPECT_EQ(Coerce(ref, VarType::Variant), target);
    target = Variant::Str("x");
    EXPECT_EQ(CoerceError(ref, VarType::I2), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(CoerceError(Variant::Ref(nullptr), VarType::I2), DISP_E_TYPEMISMATCH);
}

TEST(VariantStoreRef, ConvertsToTheVariablesOwnType) {
    Variant shortVar = Variant::I2(0);
    StoreRef(Variant::Ref(&shortVar), Variant::R8(12.7));
    EXPECT_EQ(shortVar, Variant::I2(12));

    Variant boolVar = Variant::Bool(false);
    StoreRef(Variant::Ref(&boolVar), Variant::I4(5));
    EXPECT_EQ(boolVar, Variant::Bool(true));

    Variant text = Variant::Str("");
    StoreRef(Variant::Ref(&text), Variant::R4(0.5f));
    EXPECT_EQ(text.narrow(), "0.5");

    Variant floatVar = Variant::R4(0);
    StoreRef(Variant::Ref(&floatVar), Variant::Bool(true));
    EXPECT_EQ(floatVar, Variant::R4(-1));
}

TEST(VariantStoreRef, EmptyVariableTakesTheValuesType) {
    Variant any;
    StoreRef(Variant::Ref(&any), Variant::Array(FloatArray::Vector({3, 4})));
    EXPECT_EQ(any.type(), VarType::ArrayR4);
    EXPECT_EQ(any.array().data, (std::vector<float>{3, 4}));
}

TEST(VariantStoreRef, FailuresLeaveTheVariableAlone) {
    Variant shortVar = Variant::I2(3);
    EXPECT_THROW(StoreRef(Variant::Ref(&shortVar), Variant::R8(1e10)), DispatchError);
    EXPECT_EQ(shortVar, Variant::I2(3));
    EXPECT_THROW(StoreRef(Variant::Ref(&shortVar), Variant::Str("1")), DispatchError);
    EXPECT_EQ(shortVar, Variant::I2(3));
    EXPECT_THROW(StoreRef(Variant::I4(1), Variant::I4(2)), DispatchError);
}

TEST(VariantValue, TypesAndZeros) {
    EXPECT_EQ(Variant().type(), VarType::Empty);
    EXPECT_EQ(Variant::I2(1).type(), VarType::I2);
    EXPECT_EQ(Variant::Bool(true).type(), VarType::Bool);
    EXPECT_EQ(Variant::Str(u"x").type(), VarType::BStr);
    EXPECT_EQ(Variant::Object(nullptr).type(), VarType::Unknown);
    EXPECT_EQ(Variant::Zero(VarType::Bool), Variant::Bool(false));
    EXPECT_EQ(Variant::Zero(VarType::BStr).str(), u"");
    EXPECT_TRUE(Variant::Zero(VarType::Variant).isEmpty());
    EXPECT_EQ(Variant::Zero(VarType::ArrayR4).array().data.size(), 0u);
    EXPECT_NE(Variant::I2(1), Variant::I4(1)); // same number, different type
}

TEST(VariantValue, StringsHoldUtf16AndReadBackAsUtf8) {
    const Variant v = Variant::Str("Grad \xC2\xB0"
                                   "C \xF0\x9F\x93\x88");
    EXPECT_EQ(v.str().size(), 10u); // the emoji takes a surrogate pair
    EXPECT_EQ(v.narrow(), "Grad \xC2\xB0"
                          "C \xF0\x9F\x93\x88");
}

TEST(VariantFloatArray, MatrixIsRowMajorBySample) {
    FloatArray m = FloatArray::Matrix(2, 3);
    EXPECT_EQ(m.dims, 2);
    EXPECT_EQ(m.data.size(), 6u);
    m.at(1, 0) = 5;
    m.at(0, 2) = 7;
    EXPECT_EQ(m.data[3], 5);
    EXPECT_EQ(m.data[2], 7);
    const FloatArray v = FloatArray::Vector({1, 2, 3});
    EXPECT_EQ(v.dims, 1);
    EXPECT_EQ(v.count1, 3u);
    EXPECT_EQ(v.at(2, 0), 3);
}
