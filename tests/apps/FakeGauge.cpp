#include "FakeGauge.h"

using namespace com;

const TypeInfo& FakeGauge::EventInfo() {
    static const TypeInfo info = [] {
        TypeInfo t("_DGaugeEvents");
        t.Add({"Progress", Progress, false, VarType::Empty, {{"percent", VarType::I4}}});
        t.Add({"Changed", Changed, false, VarType::Empty, {}});
        t.Add({"Message",
               Message,
               false,
               VarType::Empty,
               {{"text", VarType::BStr}, {"level", VarType::I2}}});
        return t;
    }();
    return info;
}

namespace {

using Map = DispatchMap<FakeGauge>;

void AddProperties(Map& m) {
    m.Property(
        "Width", 1, VarType::I2, [](FakeGauge& g) { return Variant::I2(g.width); },
        [](FakeGauge& g, const Variant& v) { g.width = v.i2(); });
    m.Property(
        "Scale", 2, VarType::R4, [](FakeGauge& g) { return Variant::R4(g.scale); },
        [](FakeGauge& g, const Variant& v) { g.scale = v.r4(); });
    m.Property(
        "Offset", 3, VarType::R8, [](FakeGauge& g) { return Variant::R8(g.offset); },
        [](FakeGauge& g, const Variant& v) { g.offset = v.r8(); });
    m.Property(
        "Visible", 4, VarType::Bool, [](FakeGauge& g) { return Variant::Bool(g.visible); },
        [](FakeGauge& g, const Variant& v) { g.visible = v.boolean(); });
    m.Property(
        "Caption", 5, VarType::BStr, [](FakeGauge& g) { return Variant::Str(g.caption); },
        [](FakeGauge& g, const Variant& v) { g.caption = v.narrow(); });
    m.Property(
        "Data", 6, VarType::ArrayR4, [](FakeGauge& g) { return Variant::Array(g.data); },
        [](FakeGauge& g, const Variant& v) { g.data = v.array(); });
    m.Property(
        "Tag", 7, VarType::Variant, [](FakeGauge& g) { return g.tag; },
        [](FakeGauge& g, const Variant& v) { g.tag = v; });
    m.Property(
        "Version", 8, VarType::I4, [](FakeGauge&) { return Variant::I4(25); }, nullptr);
    m.Property(
        "Picture", 9, VarType::Unknown, [](FakeGauge&) { return Variant::Object(nullptr); },
        nullptr);
}

void AddPlainMethods(Map& m) {
    m.Method("Reset", 20, VarType::Empty, {}, [](FakeGauge& g, std::span<Variant>) {
        ++g.resets;
        g.Fire(FakeGauge::Changed);
        return Variant();
    });
    m.Method("Add", 21, VarType::R8, {{"a", VarType::R8}, {"b", VarType::R8}},
             [](FakeGauge&, std::span<Variant> a) { return Variant::R8(a[0].r8() + a[1].r8()); });
    m.Method("Count", 22, VarType::I4, {}, [](FakeGauge& g, std::span<Variant>) {
        return Variant::I4(static_cast<std::int32_t>(g.data.data.size()));
    });
}

void AddOutMethods(Map& m) {
    m.Method("GetRange", 30, VarType::Empty,
             {{"low", VarType::R4, ParamDir::Out}, {"high", VarType::R4, ParamDir::Out}},
             [](FakeGauge& g, std::span<Variant> a) {
                 StoreRef(a[0], Variant::R4(g.offset > 0 ? 0.1f : 0.0f));
                 StoreRef(a[1], Variant::R8(1e28));
                 return Variant();
             });
    // Leaves its out-parameters alone: they show what the host passed in.
    m.Method("Probe", 31, VarType::Bool,
             {{"column", VarType::I2},
              {"count", VarType::I2, ParamDir::Out},
              {"name", VarType::BStr, ParamDir::Out},
              {"shown", VarType::Bool, ParamDir::Out},
              {"anything", VarType::Variant, ParamDir::Out}},
             [](FakeGauge&, std::span<Variant> a) { return Variant::Bool(a[0].i2() > 0); });
    m.Method("Normalize", 32, VarType::I4,
             {{"values", VarType::ArrayR4, ParamDir::InOut}, {"divisor", VarType::R4}},
             [](FakeGauge&, std::span<Variant> a) {
                 FloatArray& values = a[0].ref()->array();
                 for (float& v : values.data)
                     v /= a[1].r4();
                 return Variant::I4(static_cast<std::int32_t>(values.data.size()));
             });
    m.Method("Twice", 33, VarType::Empty, {{"n", VarType::I2, ParamDir::InOut}},
             [](FakeGauge&, std::span<Variant> a) {
                 StoreRef(a[0], Variant::I4(a[0].ref()->i2() * 2));
                 return Variant();
             });
}

void AddEventMethods(Map& m) {
    m.Method("Load", 40, VarType::I4, {{"percent", VarType::I4}},
             [](FakeGauge& g, std::span<Variant> a) {
                 g.Fire(FakeGauge::Progress, {a[0]});
                 g.Fire(FakeGauge::Message, {Variant::Str("done \"ok\""), Variant::I2(2)});
                 return a[0];
             });
    m.Method("Explode", 41, VarType::Empty, {}, [](FakeGauge& g, std::span<Variant>) -> Variant {
        g.Fire(FakeGauge::Progress, {Variant::I4(1)});
        throw DispatchError::InvalidArg("The gauge cannot do that");
    });
    m.Method("Crash", 42, VarType::Empty, {}, [](FakeGauge&, std::span<Variant>) -> Variant {
        throw std::out_of_range("index 9 past the end");
    });
}

} // namespace

const DispatchMap<FakeGauge>& FakeGauge::Map() {
    static const DispatchMap<FakeGauge> map = [] {
        DispatchMap<FakeGauge> m(TypeInfo("IGauge"));
        AddProperties(m);
        AddPlainMethods(m);
        AddOutMethods(m);
        AddEventMethods(m);
        return m;
    }();
    return map;
}
