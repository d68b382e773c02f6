#include "PropertySetCommands.h"
#include "AutomationShell.h"
#include "PlotFileCommands.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

class PropertySetDirectives : public testing::Test {
protected:
    PropertySetDirectives() {
        control.OnSize(400, 310);
        PlotFileCommands::AddDirectives(shell, control);
        fs::create_directories(dir);
    }
    ~PropertySetDirectives() override { fs::remove_all(dir); }

    std::string File(const char* name) const { return (dir / name).string(); }
    Lines Run(const std::string& line) { return shell.Execute(line); }
    std::string Quoted(const std::string& path) const { return "\"" + path + "\""; }

    fs::path dir =
        fs::temp_directory_path() / ("trendix-propset-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    ui::HeadlessSite site;
    CTrendixCtrl control{site};
    AutomationShell shell{control, [this](int w, int h) { control.OnSize(w, h); }};
};

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST_F(PropertySetDirectives, SaveAndRestoreRoundTripThroughTheTextBagAndTheBinaryStream) {
    for (const char* name : {"set.txt", "set.bin"}) {
        Run("Title = \"Saved = \\\"here\\\"\\nsecond\"");
        Run("MarkerSize = 9");
        Run("ZeroLine = TRUE");
        EXPECT_EQ(Run(".save " + Quoted(File(name))), Lines{"ok"}) << name;
        Run("Title = \"Changed\"");
        Run("MarkerSize = 2");
        Run("ZeroLine = FALSE");
        const Lines restored = Run(".restore " + Quoted(File(name)));
        EXPECT_EQ(restored, Lines{"ok"}) << name; // a load fires no events
        EXPECT_EQ(Run("Title"), Lines{"= \"Saved = \\\"here\\\"\\nsecond\""}) << name;
        EXPECT_EQ(Run("MarkerSize"), Lines{"= 9"}) << name;
        EXPECT_EQ(Run("ZeroLine"), Lines{"= TRUE"}) << name;
    }
    EXPECT_NE(Contents(File("set.txt")).find("\nTitle=Saved = \"here\"\\nsecond\n"),
              std::string::npos);
    EXPECT_EQ(Contents(File("set.bin")).rfind("TXPX", 0), 0u);
}

TEST_F(PropertySetDirectives, FailuresAreReportedAndChangeNothing) {
    Run("Title = \"Kept\"");
    EXPECT_EQ(
        Run(".restore " + Quoted(File("missing.txt")))[0].rfind("error 0x80004005 cannot read", 0),
        0u);
    std::ofstream(File("bad.txt")) << "Title=Lost\nno value here\n";
    EXPECT_EQ(Run(".restore " + Quoted(File("bad.txt")))[0].rfind("error 0x8003001E", 0), 0u);
    std::ofstream(File("bad.bin"), std::ios::binary) << "TXPX";
    EXPECT_EQ(Run(".restore " + Quoted(File("bad.bin")))[0].rfind("error 0x8003001E", 0), 0u);
    EXPECT_EQ(Run("Title"), Lines{"= \"Kept\""});
    EXPECT_EQ(Run(".save " + Quoted(File("no/such/folder/x.txt")))[0].rfind("error 0x80004005", 0),
              0u);
    EXPECT_EQ(Run(".save")[0].rfind("error syntax usage: .save FILE", 0), 0u);
    EXPECT_EQ(Run(".restore a b")[0].rfind("error syntax usage: .restore FILE", 0), 0u);
}

TEST_F(PropertySetDirectives, TheRestoredInputFileIsReadAtTheNextSizing) {
    const fs::path plx = fs::path(TRENDIX_SOURCE_ROOT) / "tests" / "data" / "two-x-crlf.plx";
    ui::HeadlessSite otherSite;
    CTrendixCtrl other(otherSite);
    other.StoredProperties().InputFile = plx.string();
    PropertySetCommands::Save(other, File("with-input.txt"));

    ui::HeadlessSite freshSite;
    CTrendixCtrl fresh(freshSite);
    AutomationShell freshShell{fresh, [&fresh](int w, int h) { fresh.OnSize(w, h); }};
    PlotFileCommands::AddDirectives(freshShell, fresh);
    EXPECT_EQ(freshShell.Execute(".restore " + Quoted(File("with-input.txt"))), Lines{"ok"});
    EXPECT_EQ(freshShell.Execute("Title"), Lines{"= \"Title\""});
    freshShell.Execute(".size 400 310");
    EXPECT_EQ(freshShell.Execute("Title"), Lines{"= \"Stripper profile\""});
}

TEST_F(PropertySetDirectives, CopyAndPasteThroughTheSessionClipboardAndThroughAFile) {
    Run("Title = \"Copied\"");
    Run("nvariables = 2");
    EXPECT_EQ(Run(".copy"), Lines{"ok"});
    EXPECT_TRUE(site.clipboard().Has("Trendix Control"));
    Run("Title = \"Changed\"");
    EXPECT_EQ(Run(".paste").back(), "ok");
    EXPECT_EQ(Run("Title"), Lines{"= \"Copied\""});

    // Through a file, into another session.
    EXPECT_EQ(Run(".copy " + Quoted(File("plot.image"))), Lines{"ok"});
    ui::HeadlessSite otherSite;
    CTrendixCtrl other(otherSite);
    other.OnSize(400, 310);
    AutomationShell otherShell(other, [&other](int w, int h) { other.OnSize(w, h); });
    PlotFileCommands::AddDirectives(otherShell, other);
    EXPECT_EQ(otherShell.Execute(".paste " + Quoted(File("plot.image"))).back(), "ok");
    EXPECT_EQ(other.GetSettings(), control.GetSettings());

    // A file that is not a plot image is refused and changes nothing.
    std::ofstream(File("bad.image"), std::ios::binary) << "TRXI garbage";
    EXPECT_EQ(
        otherShell.Execute(".paste " + Quoted(File("bad.image")))[0].rfind("error 0x8003001E", 0),
        0u);
    EXPECT_EQ(other.GetSettings(), control.GetSettings());
    EXPECT_EQ(Run(".copy a b")[0].rfind("error syntax usage: .copy [FILE]", 0), 0u);
}
