#include "PrintCommands.h"

#include "AutomationShell.h"
#include "ValueText.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtPrinter.h"
#include "qt/QtRenderer.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

constexpr const char* kAlignments[] = {"left", "center", "right"};
constexpr char kLineUsage[] = "usage: .header|.footer [left|center|right] TEXT";

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

int PrintCommands::AlignmentOf(const std::string& word) {
    const std::string w = Lower(word);
    for (int i = 0; i < 3; ++i)
        if (w == kAlignments[i]) return i;
    return -1;
}

void PrintCommands::SetLine(CTrendixCtrl& control, bool header, const std::string& alignment,
                            const std::string& text) {
    LayoutSetting layout =
        control.PageLayoutSetting() ? *control.PageLayoutSetting() : LayoutSetting{};
    const int align = alignment.empty() ? 1 : AlignmentOf(alignment);
    if (align < 0) throw SyntaxError(kLineUsage);
    (header ? layout.header : layout.footer) = !text.empty();
    (header ? layout.headerText : layout.footerText) = text;
    (header ? layout.headerAlignment : layout.footerAlignment) = align;
    control.SetPageLayout(layout);
}

void PrintCommands::PrintToPdf(CTrendixCtrl& control, ui::HeadlessSite& site, QtPrinter& printer,
                               const std::string& path) {
    if (path.size() < 5 || Lower(path.substr(path.size() - 4)) != ".pdf")
        throw std::runtime_error("cannot print to " + path + ": the page goes to a .pdf file");
    const QFileInfo file(QString::fromStdString(path));
    if (!file.absoluteDir().exists())
        throw std::runtime_error("cannot print to " + path + ": no such folder");
    printer.SetPdfOutput(path);
    ui::IPrinter* before = site.printer;
    site.printer = &printer;
    const int printed = printer.DocumentsPrinted();
    control.Print2(false);
    site.printer = before;
    if (printer.DocumentsPrinted() == printed)
        throw std::runtime_error("cannot print to " + path + ": the file cannot be written");
}

void PrintCommands::AddDirectives(AutomationShell& shell, CTrendixCtrl& control,
                                  ui::HeadlessSite& site) {
    // Made at the first print: the shell needs no Qt until then.
    auto printer = std::make_shared<std::unique_ptr<QtPrinter>>();
    shell.AddDirective("print", [&control, &site, printer](const std::vector<std::string>& words) {
        if (words.size() != 1) throw SyntaxError("usage: .print FILE.pdf");
        if (!*printer) {
            QtRenderer::EnsureApplication();
            *printer = std::make_unique<QtPrinter>();
        }
        PrintToPdf(control, site, **printer, words[0]);
        return std::string("ok");
    });
    for (const bool header : {true, false})
        shell.AddDirective(header ? "header" : "footer",
                           [&control, header](const std::vector<std::string>& words) {
                               if (words.empty() || words.size() > 2) throw SyntaxError(kLineUsage);
                               if (words.size() == 2)
                                   SetLine(control, header, words[0], words[1]);
                               else
                                   SetLine(control, header, "", words[0]);
                               return std::string("ok");
                           });
}
