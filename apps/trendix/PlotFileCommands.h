#pragma once
#include <functional>
#include <string>

class AutomationShell;
class CTrendixCtrl;

// The plot-file commands of the command-line host: loading a control from a file of any of
// the kinds the host knows, and the shell directives that read and load settings.
class PlotFileCommands {
public:
    // `.settings` prints GetSettings as a quoted string; `.load FILE` sets InputFile; `.save`
    // and `.restore` (PropertySetCommands).
    static void AddDirectives(AutomationShell& shell, CTrendixCtrl& control);
    // By the name's ending: ".tset" a settings block applied with SetSettings, ".tsh" a shell
    // session; any other name (scripts ".ply", input files ".plx") is set as InputFile.
    // Throws std::runtime_error when the file cannot be read, and the control's DispatchError.
    static void Load(CTrendixCtrl& control, const std::string& path);
    // Runs work; a refused call or a failure is written to standard error, naming input and,
    // for a refused call, its HRESULT. Returns the exit code: 0, or 1 after a failure.
    static int ReportingFailures(const std::string& input, const std::function<void()>& work);
};
