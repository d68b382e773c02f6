#include "render/PlotFont.h"

void CPlotFont::Set(const std::string& newFace, int newSize, int newStyle) {
    face = newFace;
    size = newSize;
    style = newStyle;
    created = false; // the device font is made again at its next use
}
