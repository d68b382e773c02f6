// Printing from the command line: `trendix render --print`, `.print`, `.header` and `.footer`.
#include "PrintCommands.h"
#include "AutomationShell.h"
#include "RenderCommand.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtRenderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string OutputFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("trendix-print-test-" + name)).string();
}

std::string Head(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    return in ? head : std::string();
}

} // namespace

TEST(PrintCommands, HeaderAndFooterDirectivesSetThePageLayout) {
    ui::HeadlessSite site;
    CTrendixCtrl control(site);
    control.OnSize(400, 310);
    AutomationShell shell(control, [&](int w, int h) { control.OnSize(w, h); });
    PrintCommands::AddDirectives(shell, control, site);
    EXPECT_EQ(shell.Execute(".header \"Reactor R-101\""), std::vector<std::string>{"ok"});
    EXPECT_EQ(shell.Execute(".footer right \"Page 1\""), std::vector<std::string>{"ok"});
    const LayoutSetting* layout = control.PageLayoutSetting();
    ASSERT_NE(layout, nullptr);
    EXPECT_TRUE(layout->header);
    EXPECT_EQ(layout->headerText, "Reactor R-101");
    EXPECT_EQ(layout->headerAlignment, 1);
    EXPECT_TRUE(layout->footer);
    EXPECT_EQ(layout->footerAlignment, 2);
    // A wrong alignment is refused and changes nothing; an empty text switches the line off.
    const std::vector<std::string> refused = shell.Execute(".footer middle x");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("usage"), std::string::npos);
    EXPECT_EQ(control.PageLayoutSetting()->footerText, "Page 1");
    shell.Execute(".footer \"\"");
    EXPECT_FALSE(control.PageLayoutSetting()->footer);
}

TEST(PrintCommands, PrintDirectiveWritesAPdfAndRefusesOtherNames) {
    QtRenderer::EnsureApplication();
    ui::HeadlessSite site;
    CTrendixCtrl control(site);
    control.OnSize(400, 310);
    AutomationShell shell(control, [&](int w, int h) { control.OnSize(w, h); });
    PrintCommands::AddDirectives(shell, control, site);
    const std::string pdf = OutputFile("shell.pdf");
    std::filesystem::remove(pdf);
    EXPECT_EQ(shell.Execute(".print " + pdf), std::vector<std::string>{"ok"});
    EXPECT_EQ(Head(pdf), "%PDF-");
    for (const std::string& bad : {OutputFile("shell.png"), std::string("/no/such/folder/x.pdf")}) {
        const std::vector<std::string> lines = shell.Execute(".print " + bad);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("cannot print to"), std::string::npos) << lines[0];
    }
    EXPECT_EQ(site.printer, nullptr); // the session's printer is lent for the print only
}

#ifdef TRENDIX_EXAMPLES
TEST(PrintCommands, RenderPrintsThePageAndFailsClearlyOnABadPath) {
    QtRenderer::EnsureApplication();
    const std::string example = std::string(TRENDIX_EXAMPLES) + "/xy-two-axes.tsh";
    auto run = [](std::vector<std::string> args) {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        return RenderCommand::Run(int(argv.size()), argv.data());
    };
    const std::string pdf = OutputFile("render.pdf");
    std::filesystem::remove(pdf);
    ASSERT_EQ(run({example, "--print", pdf, "--header", "Two axes", "--footer", "Trendix"}), 0);
    EXPECT_EQ(Head(pdf), "%PDF-");
    EXPECT_EQ(run({example, "--print", "/no/such/folder/page.pdf"}), 1);
    EXPECT_EQ(run({example, "--print", OutputFile("page.txt")}), 1);
}
#endif
