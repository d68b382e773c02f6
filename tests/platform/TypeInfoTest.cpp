#include "platform/com/TypeInfo.h"
#include "platform/com/DispatchError.h"

#include <gtest/gtest.h>

using namespace com;

namespace {

TypeInfo Sample() {
    TypeInfo info("ISample");
    info.Add({"Caption", 1, true, VarType::BStr, {}});
    info.Add({"Width", 2, true, VarType::I2, {}});
    info.Add({"Scale",
              3,
              false,
              VarType::Bool,
              {{"factor", VarType::R4, ParamDir::In},
               {"result", VarType::R8, ParamDir::Out},
               {"count", VarType::I4, ParamDir::InOut}}});
    info.Add({"Refresh", 4, false, VarType::Empty, {}});
    return info;
}

HRESULT PrepareError(const TypeInfo& info, DISPID id, InvokeKind kind, std::vector<Variant> args) {
    try {
        info.Prepare(id, kind, args);
    } catch (const DispatchError& e) {
        return e.hr();
    }
    return S_OK;
}

} // namespace

TEST(TypeInfoLookup, NamesMatchWithoutRegardToCase) {
    const TypeInfo info = Sample();
    ASSERT_NE(info.Find("caption"), nullptr);
    EXPECT_EQ(info.Find("CAPTION")->id, 1);
    EXPECT_EQ(info.Find("sCaLe")->name, "Scale");
    EXPECT_EQ(info.Find("Captio"), nullptr);
    EXPECT_EQ(info.Find("Caption "), nullptr);
    EXPECT_EQ(info.Find(""), nullptr);
}

TEST(TypeInfoLookup, ByDispid) {
    const TypeInfo info = Sample();
    EXPECT_EQ(info.Find(DISPID(4))->name, "Refresh");
    EXPECT_EQ(info.IndexOf(3), 2);
    EXPECT_EQ(info.IndexOf(99), -1);
    EXPECT_EQ(info.Find(DISPID(99)), nullptr);
}

TEST(TypeInfoPrepare, PropertyPutConvertsTheValue) {
    const TypeInfo info = Sample();
    std::vector<Variant> args{Variant::R8(41.9)};
    EXPECT_EQ(info.Prepare(2, InvokeKind::PropertyPut, args), 1u);
    EXPECT_EQ(args[0], Variant::I2(41));
    args = {Variant::R8(1e6)};
    EXPECT_EQ(PrepareError(info, 2, InvokeKind::PropertyPut, args), DISP_E_OVERFLOW);
    EXPECT_EQ(PrepareError(info, 2, InvokeKind::PropertyPut, {Variant::Str("5")}),
              DISP_E_TYPEMISMATCH);
}

TEST(TypeInfoPrepare, ParameterCountMustMatch) {
    const TypeInfo info = Sample();
    EXPECT_EQ(PrepareError(info, 2, InvokeKind::PropertyPut, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(PrepareError(info, 2, InvokeKind::PropertyPut, {Variant::I4(1), Variant::I4(2)}),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(PrepareError(info, 1, InvokeKind::PropertyGet, {Variant::I4(0)}),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(PrepareError(info, 3, InvokeKind::PropertyGet, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(PrepareError(info, 3, InvokeKind::Method, {Variant::R4(1)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(PrepareError(info, 4, InvokeKind::Method, {Variant::I4(1)}), DISP_E_BADPARAMCOUNT);
}

TEST(TypeInfoPrepare, MethodConvertsInParametersAndKeepsReferences) {
    const TypeInfo info = Sample();
    Variant result = Variant::R8(0), count = Variant::I4(3);
    std::vector<Variant> args{Variant::I4(2), Variant::Ref(&result), Variant::Ref(&count)};
    EXPECT_EQ(info.Prepare(3, InvokeKind::Method, args), 2u);
    EXPECT_EQ(args[0], Variant::R4(2));
    EXPECT_EQ(args[1].ref(), &result);
    EXPECT_EQ(args[2].ref(), &count);
}

TEST(TypeInfoPrepare, InParameterPassedByReferenceIsReadThrough) {
    const TypeInfo info = Sample();
    Variant factor = Variant::I2(4), result, count = Variant::I4(0);
    std::vector<Variant> args{Variant::Ref(&factor), Variant::Ref(&result), Variant::Ref(&count)};
    info.Prepare(3, InvokeKind::Method, args);
    EXPECT_EQ(args[0], Variant::R4(4));
}

TEST(TypeInfoPrepare, OutParametersMustBeReferences) {
    const TypeInfo info = Sample();
    Variant count = Variant::I4(0);
    EXPECT_EQ(PrepareError(info, 3, InvokeKind::Method,
                           {Variant::R4(1), Variant::R8(0), Variant::Ref(&count)}),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(PrepareError(info, 3, InvokeKind::Method,
                           {Variant::R4(1), Variant::Ref(&count), Variant::I4(3)}),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(PrepareError(info, 3, InvokeKind::Method,
                           {Variant::R4(1), Variant::Ref(nullptr), Variant::Ref(&count)}),
              DISP_E_TYPEMISMATCH);
}

TEST(TypeInfoPrepare, PutOnMethodOrUnknownDispidIsNotFound) {
    const TypeInfo info = Sample();
    EXPECT_EQ(PrepareError(info, 4, InvokeKind::PropertyPut, {Variant::I4(1)}),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(PrepareError(info, 77, InvokeKind::Method, {}), DISP_E_MEMBERNOTFOUND);
}

TEST(TypeInfoPrepare, GetOrMethodKindReachesParameterlessMembers) {
    const TypeInfo info = Sample();
    EXPECT_EQ(PrepareError(info, 4, InvokeKind::PropertyGet, {}), S_OK);
    EXPECT_EQ(PrepareError(info, 1, InvokeKind::Method, {}), S_OK);
}
