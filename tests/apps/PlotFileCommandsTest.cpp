#include "PlotFileCommands.h"
#include "AutomationShell.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

struct ShellOnControl {
    ShellOnControl() {
        control.OnSize(400, 310);
        PlotFileCommands::AddDirectives(shell, control);
    }
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
    AutomationShell shell{control, [this](int w, int h) { control.OnSize(w, h); }};
};

#ifdef TRENDIX_EXAMPLES
std::string Example(const char* name) {
    return std::string(TRENDIX_EXAMPLES) + "/" + name;
}
#endif

#ifdef TRENDIX_EXE
// Standard output and exit status of the command-line host.
std::pair<std::string, int> RunHost(const std::string& arguments) {
    const std::string command = std::string(TRENDIX_EXE) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer{};
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {out, WEXITSTATUS(status)};
}
#endif

} // namespace

TEST(ShellDirectives, SettingsPrintsTheTextAsAQuotedString) {
    ShellOnControl s;
    s.shell.Execute("Title = \"Quoted \\\"here\\\"\"");
    const auto lines = s.shell.Execute(".settings");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("= \"Type:0\\nTitle:Quoted \\\"here\\\"\\nXlab:", 0), 0u) << lines[0];
    EXPECT_EQ(lines[0].back(), '"');
    EXPECT_EQ(s.shell.Execute(".settings extra")[0].rfind("error syntax", 0), 0u);
}

#ifdef TRENDIX_EXAMPLES
TEST(ShellDirectives, LoadSetsTheInputFile) {
    ShellOnControl s;
    const auto lines = s.shell.Execute(".load \"" + Example("reactor.ply") + "\"");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "ok"); // after the events the script's calls fired
    EXPECT_EQ(s.control.GetTitle(), "Reactor conversion and selectivity");
    EXPECT_EQ(s.control.GetInputFile(), Example("reactor.ply"));
    EXPECT_EQ(s.shell.Execute(".load")[0].rfind("error syntax", 0), 0u);
}

TEST(PlotFileLoading, EachKindOfFileLoadsByItsEnding) {
    const std::pair<const char*, const char*> cases[] = {
        {"reactor.ply", "Reactor conversion and selectivity"},
        {"column-profile.plx", "Column temperature and composition profile"},
        {"reactor-layout.tset", "Reactor &[UNIT] temperatures"},
        {"first.tsh", "Reactor feed"},
    };
    for (const auto& [name, title] : cases) {
        ui::HeadlessSite site;
        CTrendixCtrl control(site);
        control.OnSize(400, 310);
        PlotFileCommands::Load(control, Example(name));
        EXPECT_EQ(control.GetTitle(), title) << name;
    }
}

TEST(PlotFileLoading, AMissingFileIsAnError) {
    ui::HeadlessSite site;
    CTrendixCtrl control(site);
    EXPECT_THROW(PlotFileCommands::Load(control, Example("missing.plx")), std::runtime_error);
    EXPECT_THROW(PlotFileCommands::Load(control, Example("missing.tset")), std::runtime_error);
}
#endif

#if defined(TRENDIX_EXE) && defined(TRENDIX_EXAMPLES)
TEST(SettingsCommand, PrintsTheSettingsOfEachExample) {
    for (const char* name : {"reactor.ply", "column-profile.plx", "ternary.plx", "feed-trend.plx",
                             "reactor-layout.tset", "first.tsh"}) {
        const auto [out, status] = RunHost("settings " + Example(name));
        EXPECT_EQ(status, 0) << name;
        EXPECT_EQ(out.rfind("Type:", 0), 0u) << name;
        EXPECT_NE(out.find("\nLegendBox2:"), std::string::npos) << name;
    }
    EXPECT_NE(RunHost("settings " + Example("ternary.plx")).first.find("Type:2\n"),
              std::string::npos);
}

TEST(SettingsCommand, FailsOnAMissingFileOrAScriptError) {
    EXPECT_EQ(RunHost("settings /no/such/plot.plx").second, 1);
    const auto data = std::filesystem::path(TRENDIX_SOURCE_ROOT) / "tests" / "data";
    EXPECT_EQ(RunHost("settings " + (data / "stops-at-error.ply").string()).second, 1);
    EXPECT_EQ(RunHost("settings").second, 2);
}
#endif
