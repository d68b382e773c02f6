#include "RenderCommand.h"

#include "AutomationShell.h"
#include "PlotFileCommands.h"
#include "PrintCommands.h"
#include "ValueText.h"
#include "control/TrendixCtrl.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtPrinter.h"
#include "qt/QtRenderer.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

constexpr int kInitialWidth = 400;
constexpr int kInitialHeight = 310;
// A positive count of pixels; one beyond the largest picture side is refused by the drawing,
// with its own message.
bool ParseInt(const std::string& s, int& out) {
    if (s.empty() || s.size() > 6) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    out = std::atoi(s.c_str());
    return out > 0;
}

int RenderUsage() {
    std::cerr << "usage: trendix render INPUT [-o OUT.png|.pdf|.svg] [--print OUT.pdf] "
                 "[--header TEXT] [--footer TEXT] [--size WxH] [--scale WxH] [--time]\n";
    return 2;
}

} // namespace

bool RenderCommand::ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    return ParseInt(text.substr(0, x), width) && ParseInt(text.substr(x + 1), height);
}

void RenderCommand::AddDirective(AutomationShell& shell, CTrendixCtrl& control) {
    shell.AddDirective("render", [&control](const std::vector<std::string>& words) {
        if (words.size() != 1 && words.size() != 3) throw SyntaxError("usage: .render FILE [W H]");
        const CPlotLook* m = control.Model();
        int w = m ? m->bufferWidth : kInitialWidth, h = m ? m->bufferHeight : kInitialHeight;
        if (words.size() == 3 && !(ParseInt(words[1], w) && ParseInt(words[2], h)))
            throw SyntaxError("usage: .render FILE [W H]");
        QtRenderer::Render(control, words[0], w, h);
        return std::string("ok");
    });
}

int RenderCommand::Run(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    std::string input, output, printed, header, footer;
    int layoutW = 0, layoutH = 0;   // --size: the control is laid out at this size
    int pictureW = 0, pictureH = 0; // --scale: the layout drawn scaled to this size
    bool timed = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc)
            output = argv[++i];
        else if (arg == "--print" && i + 1 < argc)
            printed = argv[++i];
        else if (arg == "--header" && i + 1 < argc)
            header = argv[++i];
        else if (arg == "--footer" && i + 1 < argc)
            footer = argv[++i];
        else if (arg == "--size" && i + 1 < argc) {
            if (!ParseSize(argv[++i], layoutW, layoutH)) return RenderUsage();
        } else if (arg == "--scale" && i + 1 < argc) {
            if (!ParseSize(argv[++i], pictureW, pictureH)) return RenderUsage();
        } else if (arg == "--time")
            timed = true;
        else if (input.empty() && arg[0] != '-')
            input = arg;
        else
            return RenderUsage();
    }
    if (input.empty() || (output.empty() && printed.empty())) return RenderUsage();
    // A layout or picture beyond the largest side is refused before anything is drawn.
    for (const int side : {layoutW, layoutH, pictureW, pictureH})
        if (side > gdi::kMaxSurfaceSide) {
            std::cerr << "trendix: cannot draw " << output << ": " << gdi::kMaxSurfaceSideText
                      << "\n";
            return 1;
        }

    const auto start = Clock::now();
    QtRenderer::EnsureApplication();
    const auto appReady = Clock::now();
    ui::HeadlessSite site;
    site.surfaceFactory = QtRenderer::MakeUnshownSurface;
    CTrendixCtrl control(site);
    const bool laidOut = layoutW > 0;
    auto layOut = [&](int w, int h) {
        control.OnSize(w, h);
        site.ResizeSurface(w, h);
    };
    layOut(laidOut ? layoutW : kInitialWidth, laidOut ? layoutH : kInitialHeight);
    const int failed = PlotFileCommands::ReportingFailures(input, [&] {
        PlotFileCommands::Load(control, input);
        // The size asked for holds over a size the input set itself.
        const CPlotLook* m = control.Model();
        if (laidOut && (!m || m->bufferWidth != layoutW || m->bufferHeight != layoutH))
            layOut(layoutW, layoutH);
        if (pictureW == 0) pictureW = m ? m->bufferWidth : kInitialWidth;
        if (pictureH == 0) pictureH = m ? m->bufferHeight : kInitialHeight;
        if (!output.empty()) QtRenderer::Render(control, output, pictureW, pictureH);
        if (printed.empty()) return;
        // The printed page: the plot on landscape paper with the page layout's lines.
        if (!header.empty()) PrintCommands::SetLine(control, true, "", header);
        if (!footer.empty()) PrintCommands::SetLine(control, false, "", footer);
        QtPrinter printer;
        PrintCommands::PrintToPdf(control, site, printer, printed);
    });
    if (failed) return failed;
    if (timed) {
        const auto done = Clock::now();
        auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
        std::cerr << "qt start " << ms(appReady - start) << " ms, load and draw "
                  << ms(done - appReady) << " ms\n";
    }
    return 0;
}
