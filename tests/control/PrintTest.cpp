// Printing: printer preparation, the preview page, Print2 and its failures, and the page layout
// printed around the plot.
#include "ControlHarness.h"
#include "control/PrintPage.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/HeadlessPrinter.h"

#include <algorithm>
#include <cmath>
#include <random>

using com::Variant;
using ui::HeadlessPrinter;
using ui::Orientation;

namespace {

bool Holds(const std::vector<std::string>& calls, const std::string& piece) {
    return std::any_of(calls.begin(), calls.end(),
                       [&](const std::string& c) { return c.find(piece) != std::string::npos; });
}

} // namespace

// ---- The preview page ----

TEST(PreviewRect, FollowsThePrintersProportionsWithinTheMargins) {
    struct Case {
        int w, h;
        gdi::Size printable;
        gdi::Rect expected;
    };
    const Case cases[] = {
        {400, 310, {3300, 2550}, {6, 5, 394, 305}},   // landscape page, height bound
        {400, 310, {2550, 3300}, {84, 5, 316, 305}},  // portrait page
        {800, 300, {3300, 2550}, {212, 5, 588, 295}}, // a wide control
        {300, 800, {3300, 2550}, {5, 288, 295, 512}}, // a tall control: width bound
        {200, 100, {1000, 1000}, {55, 5, 145, 95}},   // a square page
        {110, 110, {1000, 1000}, {5, 5, 105, 105}},   // exactly the page's proportions
        {10, 100, {3300, 2550}, {0, 0, 10, 100}},     // no room for the margins
        {400, 310, {0, 2550}, {0, 0, 400, 310}},      // a printer without an area
    };
    for (const Case& k : cases)
        EXPECT_EQ(PrintPage::PreviewRect(k.w, k.h, k.printable), k.expected)
            << k.w << " x " << k.h << " on " << k.printable.cx << " x " << k.printable.cy;
}

TEST(PreviewRect, RandomSizesGiveACentredPageOfThePrintersShape) {
    std::mt19937 random(14);
    std::uniform_int_distribution<int> side(11, 3000), paper(100, 9000);
    for (int i = 0; i < 2000; ++i) {
        const int w = side(random), h = side(random);
        const gdi::Size printable{paper(random), paper(random)};
        const gdi::Rect r = PrintPage::PreviewRect(w, h, printable);
        // Within the margins, one side touching them, centred to within a unit.
        ASSERT_GE(r.left, PrintPage::kMargin);
        ASSERT_GE(r.top, PrintPage::kMargin);
        ASSERT_LE(r.right, w - PrintPage::kMargin);
        ASSERT_LE(r.bottom, h - PrintPage::kMargin);
        ASSERT_TRUE(r.left == PrintPage::kMargin || r.top == PrintPage::kMargin);
        ASSERT_LE(std::abs(r.left - (w - r.right)), 1);
        ASSERT_LE(std::abs(r.top - (h - r.bottom)), 1);
        // The shape of the paper, to within the rounding of one side.
        const double a = double(printable.cy) / printable.cx;
        if (r.left == PrintPage::kMargin)
            ASSERT_NEAR(r.Height(), r.Width() * a, 2.0) << w << "x" << h;
        else
            ASSERT_NEAR(r.Width(), r.Height() / a, 2.0) << w << "x" << h;
    }
}

// ---- The control with a printer ----

class PrintTest : public ControlHarness {
protected:
    PrintTest() {
        site.printer = &printer;
        UseThreePointPlot();
    }
    void Print(bool setupOnly) { Call("Print2", {Variant::Bool(setupOnly)}); }
    void Preview(bool on) { Call("PrintPreview", {Variant::Bool(on)}); }
    std::vector<std::string> PaintSurface() {
        auto& surface = static_cast<gdi::RecordingDC&>(*site.surface);
        surface.Clear();
        c.PaintWindowSurface();
        return surface.Drawing();
    }
    std::vector<std::string> PrintedPage() {
        printer.pages.clear();
        Print(false);
        return printer.pages.empty() ? std::vector<std::string>{} : printer.pages.back();
    }

    HeadlessPrinter printer;
};

TEST_F(PrintTest, TheFirstPreviewTurnsThePrinterToLandscapeOnce) {
    Preview(true);
    ASSERT_EQ(printer.calls, std::vector<std::string>{"settings"});
    EXPECT_EQ(printer.settings.orientation, Orientation::Landscape);
    EXPECT_TRUE(c.Previewing());
    EXPECT_EQ(c.PageRect(), (gdi::Rect{6, 5, 394, 305}));
    // Turned back to portrait in the setup dialog, the paper stays so, and the page follows.
    printer.chooseOrientation = Orientation::Portrait;
    Print(true);
    EXPECT_EQ(printer.settings.orientation, Orientation::Portrait);
    EXPECT_EQ(c.PageRect(), (gdi::Rect{84, 5, 316, 305}));
    Preview(false);
    Preview(true);
    EXPECT_EQ(printer.settings.orientation, Orientation::Portrait);
    // A resize recomputes the page.
    c.OnSize(300, 800);
    EXPECT_EQ(c.PageRect(), PrintPage::PreviewRect(300, 800, printer.PrintableSize()));
}

TEST_F(PrintTest, APrinterModeWithoutOrientationIsLeftAlone) {
    printer.settings.declaresOrientation = false;
    Preview(true);
    EXPECT_EQ(printer.settings.orientation, Orientation::Portrait);
    EXPECT_EQ(c.PageRect(), (gdi::Rect{84, 5, 316, 305}));
}

TEST_F(PrintTest, TheFirstPrintDialogOffersLandscapeAndSetsItUpOnlyWhenConfirmed) {
    printer.dialogAnswer = false;
    Print(false);
    EXPECT_EQ(printer.calls, std::vector<std::string>{"dialog print"});
    EXPECT_EQ(printer.settings.orientation, Orientation::Portrait); // cancelled: unchanged
    printer.dialogAnswer = true;
    Print(true);
    EXPECT_EQ(printer.calls,
              (std::vector<std::string>{"dialog print", "dialog setup", "settings"}));
    EXPECT_EQ(printer.settings.orientation, Orientation::Landscape);
    EXPECT_TRUE(printer.pages.empty()); // setup only prints nothing
}

TEST_F(PrintTest, PrintDrawsOnePageScaledInPrintModeWithoutAScreenRepaint) {
    const int invalidated = site.invalidateCount;
    const std::vector<std::string> page = PrintedPage();
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"dialog print", "settings", "start Trendix",
                                                       "page", "end page", "end"}));
    ASSERT_FALSE(page.empty());
    // The page fills the printable area with the background, and the plot's title is there.
    EXPECT_TRUE(Holds(page, "FillSolidRect(0,0,3300,2550,"));
    EXPECT_TRUE(Holds(page, "\"Title\""));
    EXPECT_EQ(site.invalidateCount, invalidated);
    EXPECT_EQ(c.Model()->printing, 0);
    EXPECT_EQ(c.Model()->bufferWidth, 400); // back to the screen layout
}

TEST_F(PrintTest, PrintToFileAsksForTheFileAndCancellingItCancelsThePrint) {
    printer.choosePrintToFile = true;
    Print(false);
    EXPECT_EQ(site.lastSaveFilter, "Print file (*.prn)|*.prn");
    EXPECT_FALSE(Holds(printer.calls, "start"));
    site.saveFileAnswer = "/tmp/plot.prn";
    Print(false);
    EXPECT_TRUE(Holds(printer.calls, "start Trendix /tmp/plot.prn"));
    EXPECT_EQ(printer.pages.size(), 1u);
}

TEST_F(PrintTest, APageThatCannotStartIsReportedAndTheDocumentAborted) {
    printer.failPage = true;
    Print(false);
    ASSERT_EQ(site.messages.size(), 1u);
    EXPECT_EQ(site.messages[0].text, "Could not start page");
    EXPECT_EQ(printer.calls.back(), "abort");
    EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "end"), 0);
    EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "end page"), 0);
    // A document that cannot start is silent.
    printer.failPage = false;
    printer.failDocument = true;
    printer.calls.clear();
    Print(false);
    EXPECT_EQ(site.messages.size(), 1u);
    EXPECT_EQ(printer.calls.back(), "start Trendix");
}

TEST_F(PrintTest, WithoutAPrinterNothingHappensAndThePreviewShowsTheControl) {
    site.printer = nullptr;
    const std::string before = c.GetSettings();
    Print(false);
    Print(true);
    Preview(true);
    EXPECT_EQ(c.PageRect(), (gdi::Rect{0, 0, 400, 310}));
    EXPECT_TRUE(site.messages.empty());
    EXPECT_EQ(c.GetSettings(), before);
    EXPECT_FALSE(PaintSurface().empty());
}

TEST_F(PrintTest, PreviewFillsTheMarginsAndIgnoresTheMouse) {
    Call("SetEvent", {Variant::I2(2), Variant::Bool(true), Variant::Bool(true)});
    Preview(true);
    const std::vector<std::string> drawing = PaintSurface();
    const gdi::Rect page = c.PageRect();
    // The margins are grey; the plot is drawn inside the page, not in print mode.
    EXPECT_TRUE(Holds(drawing, "FillSolidRect(0,0,400," + std::to_string(page.top) + ","));
    EXPECT_TRUE(Holds(drawing, ",8421504)"));
    EXPECT_EQ(c.Model()->printing, 0);
    const int x = (page.left + page.right) / 2, y = (page.top + page.bottom) / 2;
    c.OnLButtonDown(x, y, 0);
    c.OnLButtonUp(x, y, 0);
    c.OnRButtonDown(x, y, 0);
    EXPECT_EQ(sink.Count(EV_OnClick), 0);
    EXPECT_TRUE(site.menus.empty());
    Preview(false);
    c.OnLButtonDown(x, y, 0);
    EXPECT_EQ(sink.Count(EV_OnClick), 1);
}

// ---- The page layout ----

TEST_F(PrintTest, HeaderAndFooterAreDrawnOnlyWithAPageLayout) {
    // No page layout yet: nothing around the plot.
    std::vector<std::string> page = PrintedPage();
    EXPECT_FALSE(Holds(page, "Reactor"));
    EXPECT_EQ(c.PageLayoutSetting(), nullptr);
    // The first PageLayout makes the settings, even when the sheet is cancelled.
    Call("PageLayout");
    ASSERT_EQ(site.sheets.size(), 1u);
    EXPECT_EQ(site.sheets[0].caption, "Plot Layout");
    ASSERT_NE(c.PageLayoutSetting(), nullptr);
    EXPECT_EQ(c.PageLayoutSetting()->font, (FontSetting{"Times New Roman", 12, 0}));
    EXPECT_FALSE(Holds(PrintedPage(), "Reactor"));
    // The user switches the header and the footer on.
    site.sheetUser = [](const std::vector<ui::IPropertyPage*>& pages) {
        pages[0]->Edit("Header", "1");
        pages[0]->Edit("Header Text", "Reactor R-101");
        pages[0]->Edit("Header Alignment", "1");
        pages[0]->Edit("Footer", "1");
        pages[0]->Edit("Footer Text", "Page one");
        pages[0]->Edit("Footer Alignment", "2");
        return true;
    };
    Call("PageLayout");
    page = PrintedPage();
    // The header centred at the top of the page, the footer right at the bottom, and the
    // plot between them (its background no longer reaches the page's edges).
    EXPECT_TRUE(Holds(page, "TextOut(1650,")) << ::testing::PrintToString(page);
    EXPECT_TRUE(Holds(page, "\"Reactor R-101\""));
    EXPECT_TRUE(Holds(page, "\"Page one\""));
    // On screen without preview the lines are not drawn; in preview they are.
    EXPECT_FALSE(Holds(PaintSurface(), "Reactor"));
    Preview(true);
    EXPECT_TRUE(Holds(PaintSurface(), "\"Reactor R-101\""));
}

TEST_F(PrintTest, HeaderAndFooterLeaveTheirBandsToThePlot) {
    LayoutSetting layout;
    layout.header = layout.footer = true;
    layout.headerText = "Top";
    layout.footerText = "Bottom";
    c.SetPageLayout(layout);
    gdi::RecordingDC dc(3300, 2550, gdi::DeviceKind::Printer);
    const CPageDecoration decoration(layout, 300.0f / 96.0f);
    const gdi::Rect area = decoration.PlotArea(dc, {0, 0, 3300, 2550});
    EXPECT_GT(area.top, 0);
    EXPECT_LT(area.bottom, 2550);
    EXPECT_EQ(area.top, 2550 - area.bottom); // equal bands for one font
    // Only a header: the footer's band stays with the plot.
    layout.footer = false;
    const CPageDecoration headerOnly(layout, 1.0f);
    EXPECT_EQ(headerOnly.PlotArea(dc, {0, 0, 400, 300}).bottom, 300);
    // A page too small for its lines leaves an empty plot, never a negative one.
    layout.footer = true;
    const CPageDecoration big(layout, 50.0f);
    const gdi::Rect none = big.PlotArea(dc, {0, 0, 400, 300});
    EXPECT_EQ(none.Height(), 0);
    const std::vector<std::string> page = PrintedPage();
    EXPECT_TRUE(Holds(page, "\"Top\""));
    EXPECT_TRUE(Holds(page, "\"Bottom\""));
}
