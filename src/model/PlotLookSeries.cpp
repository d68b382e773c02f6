// Series of any length: the samples of a variable replaced as a whole, for hosts that hold
// their data in arrays. The members that set points by number keep their 16-bit indices.
#include "model/PlotLook.h"

#include <cstdint>
#include <limits>

namespace {

// The most samples a variable can hold: its capacity counts in 32 bits, and growing by a
// point past the end adds ten slots.
constexpr std::size_t kMaxSeriesLength = std::numeric_limits<std::uint32_t>::max() - 10;

bool Storable(std::span<const double> samples) {
    return !samples.empty() && samples.size() <= kMaxSeriesLength;
}

} // namespace

CPlotVar* CPlotLook::XVarOf(int varNo) {
    const CPlotVar* y = YVar(varNo - 1);
    if (!y) return nullptr;
    return XVar(y->xVarNo > 0 ? y->xVarNo - 1 : 0);
}

bool CPlotLook::SetSeries(int varNo, std::span<const double> xs, std::span<const double> ys) {
    CPlotVar* x = XVarOf(varNo);
    CPlotVar* y = YVar(varNo - 1);
    if (!x || !y || runPlotActive || phasePlotActive || x->ringMode || y->ringMode) return false;
    if (xs.size() != ys.size() || !Storable(xs)) return false;
    // Both buffers first: a failed allocation leaves both variables as they were.
    std::vector<double> xRoom = x->RoomFor(xs.size());
    std::vector<double> yRoom = y->RoomFor(ys.size());
    x->Assign(xs, std::move(xRoom));
    y->Assign(ys, std::move(yRoom));
    rangeDirty = dataDirty = 1;
    return true;
}

bool CPlotLook::SetXSeries(int xVarNo, std::span<const double> xs) {
    CPlotVar* x = XVar(xVarNo - 1);
    if (!x || runPlotActive || phasePlotActive || x->ringMode || !Storable(xs)) return false;
    x->Assign(xs, x->RoomFor(xs.size()));
    rangeDirty = dataDirty = 1;
    return true;
}

bool CPlotLook::SetYSeries(int varNo, std::span<const double> ys) {
    CPlotVar* y = YVar(varNo - 1);
    if (!y || runPlotActive || phasePlotActive || y->ringMode || !Storable(ys)) return false;
    y->Assign(ys, y->RoomFor(ys.size()));
    rangeDirty = dataDirty = 1;
    return true;
}
