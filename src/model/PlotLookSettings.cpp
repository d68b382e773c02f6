// Model operations the settings text reader needs.
#include "model/PlotLook.h"

#include <algorithm>

void CPlotLook::PrepareForSettings() {
    for (auto& v : yVariables)
        v->ClearValues();
    selectedRegion = nullptr;
    editRequested = kEditNone;
}

void CPlotLook::TruncateYAxes(int count) {
    if (triMode) return;
    count = std::max(count, 1);
    while (NYAxes() > count)
        DeleteYAxisRegion(NYAxes() - 1);
}
