// The automation interface as a hostile host would drive it: the bytes become a sequence of
// calls by DISPID with arguments drawn from edge values, interleaved with resizes, paints into
// the recording device and a small image, window input, settings round trips and property-set
// saves and loads. A refused call may throw com::DispatchError; anything else that leaves a
// call, and any exception from a paint, a resize or an input handler, is a finding.
#include "control/TrendixCtrl.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtRenderer.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

using com::Variant;
using com::VarType;

// The samples one control may hold here: small, so that a run stays quick and inside the
// fuzzer's memory limit, while every refusal beyond it is still reached.
constexpr std::int64_t kFuzzSampleBudget = std::int64_t(1) << 20;
// Calls of one input at most; longer inputs add nothing a shorter one cannot reach.
constexpr int kMaxSteps = 64;

[[noreturn]] void Finding(const char* where, const char* what) {
    std::fprintf(stderr, "unexpected exception from %s: %s\n", where, what);
    std::abort();
}

// Runs one step that must not throw at all.
template <typename F>
void MustNotThrow(const char* where, F&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        Finding(where, e.what());
    } catch (...) {
        Finding(where, "not a std::exception");
    }
}

// Runs one automation call: a refusal is a com::DispatchError and nothing else.
template <typename F>
void MayBeRefused(const char* where, F&& step) {
    try {
        step();
    } catch (const com::DispatchError&) {
    } catch (const std::exception& e) {
        Finding(where, e.what());
    } catch (...) {
        Finding(where, "not a std::exception");
    }
}

// Integers at and past every limit the members check: indices, counts, sizes and codes.
// clang-format off
const std::int32_t kEdgeIntegers[] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 17, 20, 31, 32, 33, 63, 64, 65, 99, 100,
    255, 256, 1000, 2000, 4096, 8192, 8193, 20000, 32767, -1, -2, -32768, 65535, 1 << 16,
    1 << 20, 1 << 24, (1 << 24) + 1, std::numeric_limits<std::int32_t>::max(),
    std::numeric_limits<std::int32_t>::min()};
// clang-format on

double EdgeReal(FuzzedDataProvider& in) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double table[] = {
        0.0,     1.0,     -1.0, 0.5,    1e-300,
        1e300,   -1e300,  1e38, 3.5e38, 1e-45,
        100.0,   -0.0,    inf,  -inf,   std::numeric_limits<double>::quiet_NaN(),
        32768.0, -32769.0};
    if (in.ConsumeBool()) return in.PickValueInArray(table);
    return in.ConsumeFloatingPointInRange(-1e6, 1e6);
}

std::string EdgeString(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0:
        return {};
    case 1:
        return std::string(in.ConsumeIntegralInRange<size_t>(0, 70000), 'W');
    case 2:
        return "/tmp";
    case 3:
        return "/dev/null";
    case 4:
        return "Attrib:0 1 1 99\nGrid:1\n";
    default:
        return in.ConsumeRandomLengthString(256);
    }
}

com::FloatArray EdgeArray(FuzzedDataProvider& in) {
    com::FloatArray a;
    a.dims = in.ConsumeIntegralInRange(0, 3);
    a.lbound1 = in.ConsumeBool() ? 0 : in.PickValueInArray(kEdgeIntegers);
    a.lbound2 = in.ConsumeBool() ? 0 : in.PickValueInArray(kEdgeIntegers);
    a.count1 = in.ConsumeIntegralInRange<std::uint32_t>(0, 40);
    a.count2 = in.ConsumeIntegralInRange<std::uint32_t>(0, 12);
    // The element count may disagree with the bounds, as a broken host's array would.
    size_t n = size_t(a.count1) * a.count2;
    if (in.ConsumeIntegralInRange(0, 7) == 0) n = in.ConsumeIntegralInRange<size_t>(0, 64);
    for (size_t i = 0; i < n; ++i)
        a.data.push_back(float(EdgeReal(in)));
    return a;
}

// A value of the declared type most of the time, of another type now and then.
Variant EdgeValue(FuzzedDataProvider& in, VarType declared) {
    VarType t = declared;
    if (in.ConsumeIntegralInRange(0, 9) == 0) {
        const VarType any[] = {VarType::Empty, VarType::I2,      VarType::I4,
                               VarType::R4,    VarType::R8,      VarType::BStr,
                               VarType::Bool,  VarType::Unknown, VarType::ArrayR4};
        t = in.PickValueInArray(any);
    }
    switch (t) {
    case VarType::I2:
        return Variant::I2(std::int16_t(in.PickValueInArray(kEdgeIntegers)));
    case VarType::I4:
        return Variant::I4(in.PickValueInArray(kEdgeIntegers));
    case VarType::R4:
        return Variant::R4(float(EdgeReal(in)));
    case VarType::R8:
        return Variant::R8(EdgeReal(in));
    case VarType::Bool:
        return Variant::Bool(in.ConsumeBool());
    case VarType::BStr:
        return Variant::Str(EdgeString(in));
    case VarType::Unknown:
        return Variant::Object(nullptr);
    case VarType::ArrayR4:
        return Variant::Array(EdgeArray(in));
    case VarType::Variant:
        return in.ConsumeBool() ? Variant::Array(EdgeArray(in)) : Variant::R8(EdgeReal(in));
    default:
        return Variant();
    }
}

class Session {
public:
    Session() {
        site_.surfaceFactory = QtRenderer::MakeSurface;
        control_.SetSampleBudget(kFuzzSampleBudget);
        control_.OnSize(400, 310);
    }

    void Step(FuzzedDataProvider& in) {
        const int what = in.ConsumeIntegralInRange(0, 9);
        // Paints and round trips of a control grown to its limits (32,767 variables, a million
        // samples) take seconds under the sanitizers: a few per input find the same faults.
        const bool heavy = what >= 1 && what <= 5 && what != 3;
        if (heavy && ++heavySteps_ > kHeavyStepsPerInput) return;
        switch (what) {
        case 0:
            Resize(in);
            break;
        case 1:
            PaintRecording(in);
            break;
        case 2:
            PaintImage(in);
            break;
        case 3:
            Input(in);
            break;
        case 4:
            SettingsRoundTrip();
            break;
        case 5:
            PropertySetRoundTrip(in.ConsumeBool());
            break;
        default:
            Call(in);
            break;
        }
    }

private:
    int Extent(FuzzedDataProvider& in) {
        const int table[] = {0, 1, 2, 7, 40, 200, 400, 1000, 20000, 20001, 40000, -1, -40000};
        return in.PickValueInArray(table);
    }

    void Resize(FuzzedDataProvider& in) {
        const int w = Extent(in), h = Extent(in);
        MustNotThrow("OnSize", [&] { control_.OnSize(w, h); });
    }

    void PaintRecording(FuzzedDataProvider& in) {
        const int w = Extent(in), h = Extent(in);
        MustNotThrow("OnDraw (recording)", [&] {
            gdi::RecordingDC dc(1000, 1000);
            const gdi::Rect all{0, 0, w, h};
            control_.OnDraw(dc, all, all);
        });
    }

    // A small image: the window surface is the control's own size, which the calls may
    // have made large, so the paint goes into a fresh one of at most 64 x 64.
    void PaintImage(FuzzedDataProvider& in) {
        const int w = in.ConsumeIntegralInRange(1, 64), h = in.ConsumeIntegralInRange(1, 64);
        MustNotThrow("OnDraw (image)", [&] {
            auto dc = QtRenderer::MakeSurface(w, h);
            const gdi::Rect all{0, 0, w, h};
            control_.OnDraw(*dc, all, all);
        });
    }

    void Input(FuzzedDataProvider& in) {
        const int x = in.ConsumeIntegralInRange(-50, 450), y = in.ConsumeIntegralInRange(-50, 350);
        const int modifiers = in.ConsumeIntegralInRange(0, 7);
        const int key = in.ConsumeIntegralInRange(0, 255);
        site_.menuAnswer = in.ConsumeIntegralInRange(0, 40000);
        MustNotThrow("input handler", [&] {
            switch (in.ConsumeIntegralInRange(0, 8)) {
            case 0:
                control_.OnLButtonDown(x, y, modifiers);
                break;
            case 1:
                control_.OnLButtonUp(x, y, modifiers);
                break;
            case 2:
                control_.OnLButtonDblClk(x, y, modifiers);
                break;
            case 3:
                control_.OnRButtonDown(x, y, modifiers);
                break;
            case 4:
                control_.OnMouseMove(x, y, modifiers);
                break;
            case 5:
                control_.OnKeyDown(key, modifiers, 1);
                break;
            case 6:
                control_.OnChar(key);
                break;
            case 7:
                control_.OnScrollBar(in.ConsumeBool(), in.ConsumeIntegralInRange(0, 8), x);
                break;
            default:
                for (const auto& [id, ms] : std::map<int, int>(site_.timers))
                    control_.OnTimer(id);
                break;
            }
        });
    }

    // The settings text a control gives is taken by another one without a refusal, and that
    // one gives it back unchanged after a second pass.
    void SettingsRoundTrip() {
        std::string text;
        MustNotThrow("GetSettings", [&] { text = control_.GetSettings(); });
        MustNotThrow("SetSettings of own text", [&] {
            ui::HeadlessSite site;
            CTrendixCtrl other(site);
            other.SetSampleBudget(kFuzzSampleBudget);
            other.OnSize(200, 150);
            other.SetSettings(text);
            gdi::RecordingDC dc(200, 150);
            const gdi::Rect all{0, 0, 200, 150};
            other.OnDraw(dc, all, all);
        });
    }

    // A saved property set loads into a fresh control (or is refused as a whole), which then
    // sizes and paints.
    void PropertySetRoundTrip(bool binary) {
        std::vector<std::uint8_t> bytes;
        std::string text;
        MustNotThrow("property set save", [&] {
            if (binary)
                bytes = control_.SaveBinary();
            else
                text = control_.SaveText();
        });
        ui::HeadlessSite site;
        CTrendixCtrl other(site);
        other.SetSampleBudget(kFuzzSampleBudget);
        MayBeRefused("property set load", [&] {
            if (binary)
                other.LoadBinary(bytes);
            else
                other.LoadText(text);
        });
        MustNotThrow("paint after a load", [&] {
            // An image rather than a recording: a loaded set may hold a million samples, and
            // recording every call they make would dominate the run.
            other.OnSize(200, 150);
            auto dc = QtRenderer::MakeSurface(200, 150);
            const gdi::Rect all{0, 0, 200, 150};
            other.OnDraw(*dc, all, all);
        });
    }

    void Call(FuzzedDataProvider& in) {
        const auto& members = control_.GetTypeInfo().members();
        const com::MemberInfo& m =
            members[in.ConsumeIntegralInRange<size_t>(0, members.size() - 1)];
        if (Skipped(m.id)) return;
        com::InvokeKind kind = com::InvokeKind::Method;
        std::vector<Variant> args;
        std::vector<Variant> outs(m.params.size());
        if (m.isProperty) {
            kind = in.ConsumeBool() ? com::InvokeKind::PropertyPut : com::InvokeKind::PropertyGet;
            if (kind == com::InvokeKind::PropertyPut) args.push_back(EdgeValue(in, m.type));
        } else {
            for (size_t i = 0; i < m.params.size(); ++i) {
                const com::ParamInfo& p = m.params[i];
                if (p.dir == com::ParamDir::In) {
                    args.push_back(EdgeValue(in, p.type));
                } else {
                    outs[i] = EdgeValue(in, p.type);
                    args.push_back(Variant::Ref(&outs[i]));
                }
            }
            // Now and then one argument too many or too few.
            if (in.ConsumeIntegralInRange(0, 15) == 0) {
                if (!args.empty() && in.ConsumeBool())
                    args.pop_back();
                else
                    args.push_back(Variant::I2(1));
            }
        }
        MayBeRefused(m.name.c_str(), [&] { control_.Invoke(m.id, kind, args); });
    }

    // Members that wait for a person (dialogs, printing) or reach outside the process.
    static bool Skipped(com::DISPID id) {
        switch (id) {
        case 77:   // AddTextDialog
        case 78:   // HideVariableDialog
        case 127:  // Print2
        case 128:  // PrintPreview
        case 129:  // OpenLog
        case 131:  // PageLayout
        case -552: // AboutBox
            return true;
        default:
            return false;
        }
    }

    static constexpr int kHeavyStepsPerInput = 3;
    int heavySteps_ = 0;
    ui::HeadlessSite site_;
    CTrendixCtrl control_{site_};
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QtRenderer::EnsureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Session session;
    for (int step = 0; step < kMaxSteps && in.remaining_bytes() > 0; ++step)
        session.Step(in);
    return 0;
}
