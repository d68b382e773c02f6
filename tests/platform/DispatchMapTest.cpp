#include "platform/com/IDispatch.h"

#include <gtest/gtest.h>

using namespace com;

namespace {

// A small automation object: two properties (one read-only), a method with in, out and in/out
// parameters, and a method that fails.
class Counter : public IDispatch {
public:
    const TypeInfo& GetTypeInfo() const override { return Map().info(); }
    Variant Invoke(DISPID id, InvokeKind kind, std::span<Variant> args) override {
        return Map().Invoke(*this, id, kind, args);
    }

    short step = 1;
    std::int32_t total = 0;

private:
    static const DispatchMap<Counter>& Map() {
        static const DispatchMap<Counter> map = [] {
            DispatchMap<Counter> m(TypeInfo("ICounter"));
            m.Property(
                "Step", 1, VarType::I2, [](Counter& c) { return Variant::I2(c.step); },
                [](Counter& c, const Variant& v) { c.step = v.i2(); });
            m.Property(
                "Total", 2, VarType::I4, [](Counter& c) { return Variant::I4(c.total); }, nullptr);
            m.Method("Advance", 3, VarType::I4,
                     {{"times", VarType::I2, ParamDir::In},
                      {"before", VarType::I4, ParamDir::Out},
                      {"label", VarType::BStr, ParamDir::InOut}},
                     [](Counter& c, std::span<Variant> a) {
                         StoreRef(a[1], Variant::I4(c.total));
                         c.total += a[0].i2() * c.step;
                         StoreRef(a[2],
                                  Variant::Str(Coerce(*a[2].ref(), VarType::BStr).narrow() + "!"));
                         return Variant::I4(c.total);
                     });
            m.Method("Fail", 4, VarType::Empty, {}, [](Counter&, std::span<Variant>) -> Variant {
                throw DispatchError::InvalidArg("Counter is broken");
            });
            return m;
        }();
        return map;
    }
};

HRESULT InvokeError(IDispatch& d, DISPID id, InvokeKind kind, std::vector<Variant> args) {
    try {
        d.Invoke(id, kind, args);
    } catch (const DispatchError& e) {
        return e.hr();
    }
    return S_OK;
}

} // namespace

TEST(DispatchMapInvoke, PropertiesByNameEndToEnd) {
    Counter c;
    const DISPID step = c.GetIDOfName("STEP");
    std::vector<Variant> put{Variant::R8(3.7)};
    EXPECT_TRUE(c.Invoke(step, InvokeKind::PropertyPut, put).isEmpty());
    EXPECT_EQ(c.step, 3);
    EXPECT_EQ(c.Invoke(step, InvokeKind::PropertyGet, {}), Variant::I2(3));
}

TEST(DispatchMapInvoke, MethodWritesOutAndInOutParameters) {
    Counter c;
    c.total = 10;
    c.step = 2;
    Variant before = Variant::I4(0), label = Variant::Str("go");
    std::vector<Variant> args{Variant::R8(4), Variant::Ref(&before), Variant::Ref(&label)};
    EXPECT_EQ(c.Invoke(c.GetIDOfName("advance"), InvokeKind::Method, args), Variant::I4(18));
    EXPECT_EQ(before, Variant::I4(10));
    EXPECT_EQ(label.narrow(), "go!");
}

TEST(DispatchMapInvoke, OutParameterTakesTheHostVariablesType) {
    Counter c;
    c.total = 7;
    Variant before = Variant::R8(0), label = Variant::Str("");
    std::vector<Variant> args{Variant::I4(1), Variant::Ref(&before), Variant::Ref(&label)};
    c.Invoke(3, InvokeKind::Method, args);
    EXPECT_EQ(before, Variant::R8(7));
}

TEST(DispatchMapInvoke, ErrorsReachTheCaller) {
    Counter c;
    EXPECT_THROW(c.GetIDOfName("Nope"), DispatchError);
    try {
        c.GetIDOfName("Nope");
    } catch (const DispatchError& e) {
        EXPECT_EQ(e.hr(), DISP_E_UNKNOWNNAME);
        EXPECT_NE(e.description().find("Nope"), std::string::npos);
    }
    EXPECT_EQ(InvokeError(c, 4, InvokeKind::Method, {}), E_INVALIDARG);
    EXPECT_EQ(InvokeError(c, 3, InvokeKind::PropertyGet, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(InvokeError(c, 3, InvokeKind::PropertyPut, {Variant::I4(1)}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(InvokeError(c, 1, InvokeKind::PropertyPut, {Variant::I4(40000)}), DISP_E_OVERFLOW);
    EXPECT_EQ(c.step, 1);
}

TEST(DispatchMapInvoke, PutOnReadOnlyPropertyIsAnErrorNotACrash) {
    Counter c;
    c.total = 5;
    EXPECT_EQ(InvokeError(c, 2, InvokeKind::PropertyPut, {Variant::I4(1)}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(c.total, 5);
    EXPECT_EQ(c.Invoke(2, InvokeKind::PropertyGet, {}), Variant::I4(5));
}
