#include "model/VariableRanges.h"

bool CVariableRanges::Range(const CPlotVar& v, double& lo, double& hi) {
    auto [it, added] = entries_.try_emplace(&v);
    Entry& e = it->second;
    if (added) e.any = v.Range(e.lo, e.hi);
    lo = e.lo;
    hi = e.hi;
    return e.any;
}
