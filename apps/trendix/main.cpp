// trendix: the command-line host of the plotting control.
//   trendix shell      drive one control from standard input, one command a line
//   trendix typelib    list the automation and event interfaces
//   trendix settings INPUT   print the settings text of a control loaded from INPUT
//   trendix render INPUT -o OUT.png|.pdf|.svg [--size WxH] [--scale WxH]   draw the control
//   trendix render INPUT --print OUT.pdf [--header TEXT] [--footer TEXT]   print its page
#include "AutomationShell.h"
#include "PlotFileCommands.h"
#include "PrintCommands.h"
#include "RenderCommand.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

#include <cstring>
#include <iostream>

namespace {

constexpr int kInitialWidth = 400;
constexpr int kInitialHeight = 310;

int Usage() {
    std::cerr
        << "usage: trendix shell < SESSION\n"
           "       trendix typelib\n"
           "       trendix settings INPUT   (.ply script, .plx input file, .tset settings,"
           " .tsh session)\n"
           "       trendix render INPUT [-o OUT.png|.pdf|.svg] [--print OUT.pdf] [--header TEXT]\n"
           "                      [--footer TEXT] [--size WxH] [--scale WxH] [--time]\n";
    return 2;
}

void PrintInterface(const com::TypeInfo& info) {
    std::cout << "interface " << info.name() << " \"" << info.doc() << "\"\n";
    for (const com::MemberInfo& m : info.members()) {
        std::cout << "  " << m.id << ' ' << (m.isProperty ? "property " : "method ");
        if (m.type != com::VarType::Empty) std::cout << com::VarTypeName(m.type) << ' ';
        std::cout << m.name;
        if (!m.isProperty) {
            std::cout << '(';
            for (size_t i = 0; i < m.params.size(); ++i) {
                const com::ParamInfo& p = m.params[i];
                if (i) std::cout << ", ";
                if (p.dir == com::ParamDir::Out) std::cout << "out ";
                if (p.dir == com::ParamDir::InOut) std::cout << "in/out ";
                std::cout << com::VarTypeName(p.type) << ' ' << p.name;
            }
            std::cout << ')';
        }
        std::cout << '\n';
    }
}

int RunShell() {
    ui::HeadlessSite site;
    CTrendixCtrl control(site);
    control.OnSize(kInitialWidth, kInitialHeight);
    AutomationShell shell(control, [&control](int w, int h) { control.OnSize(w, h); });
    PlotFileCommands::AddDirectives(shell, control);
    RenderCommand::AddDirective(shell, control);
    PrintCommands::AddDirectives(shell, control, site);
    return shell.Run(std::cin, std::cout);
}

int PrintSettings(const std::string& input) {
    ui::HeadlessSite site;
    CTrendixCtrl control(site);
    control.OnSize(kInitialWidth, kInitialHeight);
    if (const int failed = PlotFileCommands::ReportingFailures(
            input, [&] { PlotFileCommands::Load(control, input); }))
        return failed;
    std::cout << control.GetSettings();
    return 0;
}

int PrintTypeLibrary() {
    ui::HeadlessSite site;
    CTrendixCtrl control(site);
    std::cout << "library TRENDIXLib 1.6\n";
    PrintInterface(control.GetTypeInfo());
    PrintInterface(*control.GetEventTypeInfo());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    if (std::strcmp(argv[1], "shell") == 0) return RunShell();
    if (std::strcmp(argv[1], "typelib") == 0) return PrintTypeLibrary();
    if (std::strcmp(argv[1], "settings") == 0 && argc == 3) return PrintSettings(argv[2]);
    if (std::strcmp(argv[1], "render") == 0) return RenderCommand::Run(argc - 2, argv + 2);
    return Usage();
}
