#include "render/PlotLegendRgn.h"

void CPlotLegendRgn::SetBox(int sampleLength, float factor, int newMargin) {
    if (sampleLength > 10 && sampleLength <= 200) lineSampleLength = sampleLength;
    if (factor >= 0.8f && factor < 3.0f) itemHeightFactor = factor; // NaN fails both tests
    if (newMargin >= 3 && newMargin < 40) margin = newMargin;
    sized = 0;
}
