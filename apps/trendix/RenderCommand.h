#pragma once
#include <string>

class AutomationShell;
class CTrendixCtrl;

// Pictures of a control: `trendix render INPUT -o OUT [--size WxH]` and the shell's
// `.render FILE [W H]`. Both draw through the control's own drawing entry, so a size other
// than the control's is a scaled draw.
class RenderCommand {
public:
    static void AddDirective(AutomationShell& shell, CTrendixCtrl& control);
    // The command line after "render"; returns the process exit code.
    static int Run(int argc, char** argv);
    // "WxH" into width and height; false when it is not two positive numbers.
    static bool ParseSize(const std::string& text, int& width, int& height);
};
