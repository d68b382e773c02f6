#include "PlotFileCommands.h"

#include "AutomationShell.h"
#include "PropertySetCommands.h"
#include "ValueText.h"
#include "control/TrendixCtrl.h"
#include "platform/com/DispatchError.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace {

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// A folder opens as a stream on this system but cannot be read: it is refused as well.
std::ifstream OpenOrThrow(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw std::runtime_error("cannot read " + path + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return in;
}

} // namespace

void PlotFileCommands::AddDirectives(AutomationShell& shell, CTrendixCtrl& control) {
    shell.AddDirective("settings", [&control](const std::vector<std::string>& words) {
        if (!words.empty()) throw SyntaxError("usage: .settings");
        return "= " + ValueText::Format(com::Variant::Str(control.GetSettings()));
    });
    shell.AddDirective("load", [&control](const std::vector<std::string>& words) {
        if (words.size() != 1) throw SyntaxError("usage: .load FILE");
        control.SetInputFile(words[0]);
        return std::string("ok");
    });
    PropertySetCommands::AddDirectives(shell, control);
}

void PlotFileCommands::Load(CTrendixCtrl& control, const std::string& path) {
    if (EndsWith(path, ".tset")) {
        std::ifstream in = OpenOrThrow(path);
        control.SetSettings(std::string(std::istreambuf_iterator<char>(in), {}));
    } else if (EndsWith(path, ".tsh")) {
        std::ifstream in = OpenOrThrow(path);
        AutomationShell shell(control, [&control](int w, int h) { control.OnSize(w, h); });
        AddDirectives(shell, control);
        std::ostringstream ignored; // the session's answers are not part of the settings
        shell.Run(in, ignored);
    } else {
        OpenOrThrow(path); // a missing file is an error here, not a silent no-op
        control.SetInputFile(path);
    }
}

int PlotFileCommands::ReportingFailures(const std::string& input,
                                        const std::function<void()>& work) {
    try {
        work();
        return 0;
    } catch (const com::DispatchError& e) {
        std::cerr << "trendix: " << input << ": error 0x" << std::hex << std::uppercase << e.hr()
                  << ' ' << e.what() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "trendix: " << e.what() << '\n';
    }
    return 1;
}
