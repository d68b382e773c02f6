#pragma once
#include <string>

class AutomationShell;
class CTrendixCtrl;

// Pictures of a control: `trendix render INPUT -o OUT [--size WxH] [--scale WxH]` and the
// shell's `.render FILE [W H]`. Both draw through the control's own drawing entry: --size lays
// the control out at that size, and a picture size other than the control's (--scale, or the
// directive's W H) is a scaled draw of the layout.
class RenderCommand {
public:
    static void AddDirective(AutomationShell& shell, CTrendixCtrl& control);
    // The command line after "render"; returns the process exit code.
    static int Run(int argc, char** argv);
    // "WxH" into width and height; false when it is not two positive numbers.
    static bool ParseSize(const std::string& text, int& width, int& height);
};
