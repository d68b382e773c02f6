// The binary image reader: any bytes are read or refused as a whole. A refused image leaves
// the plot exactly as it was; an image that is read paints, and the plot it leaves writes an
// image that a fresh control reads again.
//
// With TRENDIX_IMAGE_SEEDS set to a folder, the first run writes there the images of a few
// plots of the examples, for the corpus to start from.
#include "FuzzControl.h"
#include "model/MenuTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Finding(const char* what) {
    std::fprintf(stderr, "image finding: %s\n", what);
    std::abort();
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteSeed(const std::string& folder, const std::string& name, CTrendixCtrl& control) {
    const std::vector<std::uint8_t> image = control.SaveImage();
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
}

// Plots of each kind: from the example files, a live run plot and an XY plot with a note,
// host objects and shapes, then flipped on two axes.
void WriteSeeds(const std::string& folder) {
    const std::string root = TRENDIX_SOURCE_ROOT;
    for (const char* file : {"examples/column-profile.plx", "examples/ternary.plx",
                             "examples/feed-trend.plx", "examples/reactor.ply"}) {
        FuzzControl f;
        f.control.SetInputFile(root + "/" + file);
        WriteSeed(folder, std::string(file).substr(9) + ".image", f.control);
    }
    {
        FuzzControl f;
        f.control.SetSettings(FileText(root + "/examples/reactor-layout.tset"));
        WriteSeed(folder, "reactor-layout.image", f.control);
    }
    {
        FuzzControl f;
        f.control.SetRunPlot(true);
        f.control.Setnvariables(2);
        for (int t = 0; t < 40; ++t) { // the rings wrap
            f.control.AddTimeData(1, t * 0.5, t % 7);
            f.control.AddTimeData(2, t * 0.5, -t);
        }
        WriteSeed(folder, "run.image", f.control);
    }
    {
        FuzzControl f;
        f.control.Setnvariables(2);
        f.control.Setnpoints(6);
        for (short i = 0; i < 6; ++i) {
            f.control.SetXData(1, i, i);
            f.control.SetData(1, i, i * i);
            f.control.SetData(2, i, 10 - i);
        }
        f.control.SetShowLegend(true);
        f.control.SetSymbol("UNIT", "kg/s");
        f.control.AddText("A note $UNIT", 0.5f, 0.5f, 2, 0, "", 10, 0);
        // Host objects of each kind, one text hidden, for the host objects' section.
        const std::int16_t line = f.control.NewLine(3, 2, 5, 6, -1);
        const std::int16_t polygon = f.control.NewPolygon(4, 2);
        for (std::int16_t i = 0; i < 4; ++i) {
            f.control.SetXYData(line, i, i, i * 2.0);
            f.control.SetXYData(polygon, i, 1 + i % 2, 1 + i / 2);
        }
        f.control.SetObject(f.control.NewText("Hidden", 2, 2, -1), 0, 1);
        // Two shapes drawn with the toolbar, for the shapes' record.
        f.Paint();
        for (int tool : {ID_TOOL_BOX, ID_TOOL_ELLIPSE}) {
            f.control.OnCommand(tool);
            f.control.OnLButtonDown(150, 100, 0);
            f.control.OnMouseMove(200, 150, 0);
            f.control.OnLButtonUp(220, 160, 0);
        }
        WriteSeed(folder, "xy.image", f.control);
        // The same plot on two axes, flipped by its settings text, which keeps the axis map.
        f.control.SetAxisMap(1, 2);
        f.control.SetAxisMap(-1, 0);
        std::string text = f.control.GetSettings();
        const std::size_t square = text.find("Square:");
        text.replace(square, text.find('\n', square) - square, "Square:0 0 0 1");
        f.control.SetSettings(text);
        WriteSeed(folder, "xy-flipped.image", f.control);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* folder = std::getenv("TRENDIX_IMAGE_SEEDS")) WriteSeeds(folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzControl f;
    const std::vector<std::uint8_t> before = f.control.SaveImage();
    try {
        f.control.LoadImage({data, size});
    } catch (const com::DispatchError&) {
        if (f.control.SaveImage() != before) Finding("a refused image changed the plot");
        return 0;
    }
    f.Paint();
    const std::vector<std::uint8_t> again = f.control.SaveImage();
    FuzzControl other;
    try {
        other.control.LoadImage(again);
    } catch (const com::DispatchError& e) {
        std::fprintf(stderr, "refused with: %s\n", e.what());
        Finding("the image of a plot that was read is refused");
    }
    other.Paint();
    return 0;
}
