#pragma once
#include <string>

// A font record of the plot: face, size in points, angle and style bits. The device font is
// made from it lazily when text is first drawn or measured.
class CPlotFont {
public:
    enum Style { Italic = 1, Bold = 2, Underline = 4 };

    CPlotFont() = default;
    CPlotFont(std::string face, int size, int style)
        : face(std::move(face)), size(size), style(style) {}

    void Set(const std::string& newFace, int newSize, int newStyle);

    std::string face = "Times New Roman";
    int size = 10; // points
    int angle = 0; // degrees
    int style = 0; // Style bits
    bool created = false;
    int usage = 0;     // which element the font serves
    int placement = 2; // label and axis fonts: 5 on triangular plots, 2 otherwise
};
