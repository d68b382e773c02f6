#pragma once
#include <string>

class AutomationShell;
class CTrendixCtrl;

// The shell directives that save and restore the control's persisted property set, as a
// container does with its document: a binary stream when the file name ends in ".bin", the
// text property bag otherwise; and those that copy and paste the plot.
class PropertySetCommands {
public:
    // `.save FILE`, `.restore FILE`, `.copy [FILE]` and `.paste [FILE]`.
    static void AddDirectives(AutomationShell& shell, CTrendixCtrl& control);
    // Throws std::runtime_error when the file cannot be written.
    static void Save(CTrendixCtrl& control, const std::string& path);
    // Throws std::runtime_error when the file cannot be read or is far too large to be a
    // property set, and the control's DispatchError when its data cannot be read.
    static void Restore(CTrendixCtrl& control, const std::string& path);
};
