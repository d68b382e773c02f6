#pragma once
#include <memory>
#include <string>

class AutomationShell;
class CTrendixCtrl;
class QtPrinter;
struct LayoutSetting;
namespace ui {
class HeadlessSite;
}

// Printing from the command line: the printed page into a PDF file through the control's own
// Print2 (no dialog is shown), and the page layout's header and footer set without its sheet.
class PrintCommands {
public:
    // `.print FILE.pdf` prints the page; `.header [left|center|right] TEXT` and `.footer ...`
    // switch a line of the page layout on with that text (an empty text switches it off).
    // The session keeps one printer: its paper turns to landscape at the first print only.
    static void AddDirectives(AutomationShell& shell, CTrendixCtrl& control,
                              ui::HeadlessSite& site);
    // Prints control's page into path (a .pdf name) on printer. Throws std::runtime_error
    // when the name is not a PDF's or the file cannot be written.
    static void PrintToPdf(CTrendixCtrl& control, ui::HeadlessSite& site, QtPrinter& printer,
                           const std::string& path);
    // One line of the page layout: words are an optional alignment, then the text.
    static void SetLine(CTrendixCtrl& control, bool header, const std::string& alignment,
                        const std::string& text);
    // "left", "center" or "right" (any case) into 0, 1, 2; -1 for anything else.
    static int AlignmentOf(const std::string& word);
};
