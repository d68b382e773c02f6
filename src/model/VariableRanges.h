#pragma once
#include "render/PlotVar.h"

#include <unordered_map>

// The smallest and largest sample of each variable, read once however often a paint asks:
// sizing the axes to the data and the range pass both walk every sample, and between them the
// samples do not change. Lives only while one paint runs its deferred work.
class CVariableRanges {
public:
    // As CPlotVar::Range: false (and 0 1) when the variable has no sample.
    bool Range(const CPlotVar& v, double& lo, double& hi);

private:
    struct Entry {
        bool any;
        double lo, hi;
    };
    std::unordered_map<const CPlotVar*, Entry> entries_;
};
