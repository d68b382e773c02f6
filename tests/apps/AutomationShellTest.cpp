#include "AutomationShell.h"
#include "FakeGauge.h"

#include "platform/com/DispatchError.h"

#include <gtest/gtest.h>

#include <sstream>

using Lines = std::vector<std::string>;

namespace {

class AutomationShellTest : public ::testing::Test {
protected:
    FakeGauge gauge;
    std::vector<std::pair<int, int>> sizes;
    AutomationShell shell{gauge, [this](int w, int h) { sizes.emplace_back(w, h); }};

    Lines Run(const std::string& line) { return shell.Execute(line); }
};

// Calls back into the gauge whenever it reports progress, as a host's handler may.
class ReentrantSink : public com::IEventSink {
public:
    explicit ReentrantSink(FakeGauge& g) : gauge_(g) {}
    void Invoke(com::DISPID id, std::span<const com::Variant>) override {
        if (id != FakeGauge::Progress) return;
        std::vector<com::Variant> none;
        gauge_.Invoke(gauge_.GetIDOfName("Reset"), com::InvokeKind::Method, none);
    }

private:
    FakeGauge& gauge_;
};

} // namespace

TEST_F(AutomationShellTest, PutAndGetEveryValueType) {
    const std::pair<const char*, const char*> cases[] = {
        {"Width = 3.7", "= 3"},
        {"Scale = 0.1", "= 0.1"},
        {"Offset = 0.1", "= 0.1"},
        {"Offset = 1e28", "= 1e+28"},
        {"Scale = 1e28", "= 1e+28"},
        {"Scale = 3.4028235e+38", "= 3.4028235e+38"},
        {"Visible = TRUE", "= TRUE"},
        {"Visible = 0", "= FALSE"},
        {"Caption = \"say \\\"hi\\\"\\n\\ttab\\\\\"", "= \"say \\\"hi\\\"\\n\\ttab\\\\\""},
        {"Caption = 42", "= \"42\""},
        {"Data = [1 2.5 -3]", "= [1 2.5 -3]"},
        {"Data = [[0 1 2] [0.1 1.5 2.5]]", "= [[0 1 2] [0.1 1.5 2.5]]"},
        {"Tag = 2147483648", "= 2147483648"},
        {"Tag = \"x\"", "= \"x\""},
    };
    for (const auto& [put, get] : cases) {
        EXPECT_EQ(Run(put), Lines{"ok"}) << put;
        const std::string name(put, std::string(put).find(' '));
        EXPECT_EQ(Run(name), Lines{get}) << put;
    }
    EXPECT_EQ(gauge.data.dims, 2);
    EXPECT_EQ(gauge.data.at(1, 1), 1.5f); // row = dimension 1
}

TEST_F(AutomationShellTest, ReadOnlyValuesAndEmpty) {
    EXPECT_EQ(Run("Tag"), Lines{"= empty"});
    EXPECT_EQ(Run("Version"), Lines{"= 25"});
    EXPECT_EQ(Run("Picture"), Lines{"= null"});
    EXPECT_EQ(Run("Version = 3"), Lines{"error 0x80020003 Property is read-only"});
}

TEST_F(AutomationShellTest, NamesIgnoreCaseAndBlanksAroundTheLine) {
    EXPECT_EQ(Run("  wIdTh=7\t\r"), Lines{"ok"});
    EXPECT_EQ(Run("WIDTH"), Lines{"= 7"});
    EXPECT_EQ(Run("add   1 2 "), Lines{"= 3"});
}

TEST_F(AutomationShellTest, MethodsWithAndWithoutResults) {
    EXPECT_EQ(Run(".events off"), Lines{"ok"});
    EXPECT_EQ(Run("Reset"), Lines{"ok"});
    EXPECT_EQ(Run("Add 1 2.5"), Lines{"= 3.5"});
    EXPECT_EQ(Run("Add -1e300 TRUE"), Lines{"= -1e+300"});
    EXPECT_EQ(Run("Count"), Lines{"= 0"});
    EXPECT_EQ(gauge.resets, 1);
}

TEST_F(AutomationShellTest, OutParametersStartAtZeroOfTheirType) {
    EXPECT_EQ(Run("Probe 3"), Lines{"= TRUE | 0 \"\" FALSE empty"});
    EXPECT_EQ(Run("Probe 0"), Lines{"= FALSE | 0 \"\" FALSE empty"});
}

TEST_F(AutomationShellTest, MethodWithOnlyOutParametersIsCalledByItsName) {
    EXPECT_EQ(Run("GetRange"), Lines{"ok | 0 1e+28"});
    gauge.offset = 1;
    EXPECT_EQ(Run("GetRange"), Lines{"ok | 0.1 1e+28"});
}

TEST_F(AutomationShellTest, InOutParametersAreConvertedThenReadBack) {
    EXPECT_EQ(Run("Normalize [1 2 4] 2"), Lines{"= 3 | [0.5 1 2]"});
    EXPECT_EQ(Run("Normalize [[2 4] [6 8] [1 3]] 10"),
              Lines{"= 6 | [[0.2 0.4] [0.6 0.8] [0.1 0.3]]"});
    EXPECT_EQ(Run("Twice 3.7"), Lines{"ok | 6"}); // the variable is a short holding 3
    EXPECT_EQ(Run("Twice 20000"), Lines{"error 0x8002000A Overflow"});
    EXPECT_EQ(Run("Twice 40000"), Lines{"error 0x8002000A Overflow"});
    EXPECT_EQ(Run("Twice \"2\""),
              Lines{"error 0x80020005 Type mismatch: BSTR where short is expected"});
}

TEST_F(AutomationShellTest, DispatcherErrorsAreReportedAndTheShellGoesOn) {
    const std::pair<const char*, const char*> cases[] = {
        {"Nope", "error 0x80020006 Unknown name: Nope"},
        {"Nope = 1", "error 0x80020006 Unknown name: Nope"},
        {"Width = 1e10", "error 0x8002000A Overflow"},
        {"Width = \"5\"", "error 0x80020005 Type mismatch: BSTR where short is expected"},
        {"Add 1", "error 0x8002000E Invalid number of parameters"},
        {"Add", "error 0x8002000E Invalid number of parameters"},
        {"Add 1 2 3", "error 0x8002000E Invalid number of parameters"},
        {"Width 1", "error 0x8002000E Invalid number of parameters"},
        {"Reset = 1", "error 0x80020003 Member not found"},
        {"Normalize 1 2",
         "error 0x80020005 Type mismatch: long where SAFEARRAY(float) is expected"},
        {"Crash", "error 0x80004005 index 9 past the end"},
    };
    for (const auto& [line, error] : cases)
        EXPECT_EQ(Run(line), Lines{error}) << line;
    EXPECT_EQ(Run("Width = 2"), Lines{"ok"});
}

TEST_F(AutomationShellTest, SyntaxErrors) {
    const std::pair<const char*, const char*> cases[] = {
        {"Width =", "error syntax expected one value after ="},
        {"Width = 1 2", "error syntax expected one value after ="},
        {"Caption = \"open", "error syntax unterminated string"},
        {"Caption = \"\\q\"", "error syntax unknown escape \\q"},
        {"Data = [[1 2] [3]]", "error syntax ragged array"},
        {"Data = [1 [2]]", "error syntax unexpected [ inside a row of numbers"},
        {"Data = [1 2", "error syntax unterminated array"},
        {"Add 1 two", "error syntax not a value: two"},
        {"Width(3)", "error syntax unexpected ( after Width"},
        {"3 = Width", "error syntax expected a name at 3 = Width"},
        {".x", "error syntax unknown directive .x"},
        {".size 10", "error syntax usage: .size W H"},
        {".size 10 tall", "error syntax usage: .size W H"},
        {".events maybe", "error syntax usage: .events on|off"},
    };
    for (const auto& [line, error] : cases)
        EXPECT_EQ(Run(line), Lines{error}) << line;
}

TEST_F(AutomationShellTest, CommentsAndBlankLinesPrintNothing) {
    EXPECT_EQ(Run(""), Lines{});
    EXPECT_EQ(Run("   \t"), Lines{});
    EXPECT_EQ(Run("# Width = 5"), Lines{});
    EXPECT_EQ(Run("   # indented"), Lines{});
    EXPECT_EQ(gauge.width, 0);
}

TEST_F(AutomationShellTest, EventsFiredDuringACallPrintBeforeItsResult) {
    EXPECT_EQ(Run("Load 40"),
              (Lines{"event Progress(40)", "event Message(\"done \\\"ok\\\"\", 2)", "= 40"}));
    EXPECT_EQ(Run("Reset"), (Lines{"event Changed()", "ok"}));
}

TEST_F(AutomationShellTest, EventsBeforeAnErrorStillPrint) {
    EXPECT_EQ(Run("Explode"),
              (Lines{"event Progress(1)", "error 0x80070057 The gauge cannot do that"}));
}

TEST_F(AutomationShellTest, ReentrantEventsPrintInTheOrderTheyArrive) {
    ReentrantSink host(gauge);
    const std::uint32_t cookie = gauge.events.Advise(&host);
    EXPECT_EQ(Run("Load 5"), (Lines{"event Progress(5)", "event Changed()",
                                    "event Message(\"done \\\"ok\\\"\", 2)", "= 5"}));
    EXPECT_EQ(gauge.resets, 1);
    gauge.events.Unadvise(cookie);
}

TEST_F(AutomationShellTest, EventsFiredBetweenCommandsPrintWithTheNextLine) {
    gauge.Fire(FakeGauge::Changed);
    EXPECT_EQ(Run("Width"), (Lines{"event Changed()", "= 0"}));
    gauge.Fire(FakeGauge::Changed);
    EXPECT_EQ(Run("# nothing"), Lines{"event Changed()"});
}

TEST_F(AutomationShellTest, EventsCanBeSwitchedOff) {
    EXPECT_EQ(Run(".events off"), Lines{"ok"});
    EXPECT_FALSE(shell.eventsShown());
    EXPECT_EQ(Run("Load 1"), Lines{"= 1"});
    EXPECT_EQ(Run(".EVENTS ON"), Lines{"ok"});
    EXPECT_EQ(Run("Reset"), (Lines{"event Changed()", "ok"}));
}

TEST_F(AutomationShellTest, SizeDirectiveResizesTheWindow) {
    EXPECT_EQ(Run(".size 640 480"), Lines{"ok"});
    EXPECT_EQ(Run(".size  -1   0 "), Lines{"ok"});
    EXPECT_EQ(sizes, (std::vector<std::pair<int, int>>{{640, 480}, {-1, 0}}));
    // Beyond the largest window side: a clear error, and no resize.
    EXPECT_EQ(Run(".size 30000 30000"),
              Lines{"error 0x80070057 the largest window or picture side is 8192 pixels"});
    EXPECT_EQ(Run(".size 8192 8193"),
              Lines{"error 0x80070057 the largest window or picture side is 8192 pixels"});
    EXPECT_EQ(sizes.size(), 2u);
}

TEST_F(AutomationShellTest, AddedDirectivesGetTheirWords) {
    std::vector<std::string> seen;
    shell.AddDirective("render", [&](const std::vector<std::string>& words) {
        seen = words;
        return std::string("wrote ") + words.at(0);
    });
    shell.AddDirective(".settings", [](const std::vector<std::string>&) { return std::string(); });
    shell.AddDirective("load", [](const std::vector<std::string>&) -> std::string {
        throw com::DispatchError(com::E_INVALIDARG, "No such file");
    });
    EXPECT_EQ(Run(".render \"my plot.png\" 800 600"), Lines{"wrote my plot.png"});
    EXPECT_EQ(seen, (std::vector<std::string>{"my plot.png", "800", "600"}));
    EXPECT_EQ(Run(".settings"), Lines{"ok"});
    EXPECT_EQ(Run(".load x"), Lines{"error 0x80070057 No such file"});
    // Whatever else a handler throws is a failure, not the end of the shell.
    const Lines failed = Run(".render");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].rfind("error 0x80004005 ", 0), 0u) << failed[0];
}

TEST_F(AutomationShellTest, RunPrintsEveryAnswerAndStopsAtQuit) {
    std::istringstream in("# set up\nWidth = 12\n\nWidth\nNope\nReset\n.quit\nWidth = 99\n");
    std::ostringstream out;
    EXPECT_EQ(shell.Run(in, out), 0);
    EXPECT_EQ(out.str(),
              "ok\n= 12\nerror 0x80020006 Unknown name: Nope\nevent Changed()\nok\nok\n");
    EXPECT_EQ(gauge.width, 12);
}

TEST_F(AutomationShellTest, RunEndsAtEndOfInput) {
    std::istringstream in("Width = 1\r\nWidth");
    std::ostringstream out;
    EXPECT_EQ(shell.Run(in, out), 0);
    EXPECT_EQ(out.str(), "ok\n= 1\n");
    EXPECT_FALSE(shell.quitRequested());
}

TEST(AutomationShellEvents, SinkIsUnadvisedWithTheShell) {
    FakeGauge gauge;
    {
        AutomationShell shell(gauge, nullptr);
        EXPECT_EQ(gauge.events.size(), 1u);
        EXPECT_EQ(shell.Execute(".size 1 2"), Lines{"ok"}); // no resize function: nothing to call
    }
    EXPECT_EQ(gauge.events.size(), 0u);
    gauge.Fire(FakeGauge::Changed); // must not reach the destroyed shell
}

TEST(AutomationShellEvents, ControlWithoutEventsStillWorks) {
    FakeGauge gauge;
    gauge.withEvents = false;
    AutomationShell shell(gauge, nullptr);
    EXPECT_EQ(gauge.events.size(), 0u);
    EXPECT_EQ(shell.Execute("Reset"), Lines{"ok"});
    EXPECT_EQ(gauge.resets, 1);
}
