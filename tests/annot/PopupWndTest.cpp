#include "annot/PlotPopupWnd.h"
#include "platform/gdi/RecordingDC.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The recording device measures the default font (13 units high) at 7 units a character.
constexpr int kLine = 13, kChar = 7;

} // namespace

TEST(PopupWndTest, LinesSplitAtLineFeedsOrElseAtBackslashN) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one", {"one"}},
        {"", {""}},
        {"a\nbb\n", {"a", "bb", ""}},
        {"a\r\nb", {"a", "b"}},
        {"x=1\\ny=2", {"x=1", "y=2"}},
        // With a real line feed a backslash-n pair is text.
        {"a\\nb\nc", {"a\\nb", "c"}},
        {"\\n", {"", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPlotPopupWnd::SplitLines(c.text), c.lines) << c.text;
}

TEST(PopupWndTest, TheWindowFitsItsLinesAndKeepsInsideTheControl) {
    gdi::RecordingDC dc(400, 300);
    struct Case {
        const char* text;
        int x, y, ms;
        int width, height, left, top;
    };
    // Width: the widest line and one line height; height: the lines and half a line.
    const int w3 = 3 * kChar + kLine, h2 = 2 * kLine + kLine / 2;
    const Case cases[] = {
        {"abc\nde", 10, 20, 500, w3, h2, 10, 20},
        // Too far right: ends at the right edge.
        {"abc\nde", 390, 20, 0, w3, h2, 400 - w3, 20},
        // Timed and too low: moved up to end at the bottom edge.
        {"abc\nde", 10, 290, 500, w3, h2, 10, 300 - h2},
        // Untimed, it may hang below the bottom, but not above the top.
        {"abc\nde", 10, 290, 0, w3, h2, 10, 290},
        {"abc\nde", 10, -8, 0, w3, h2, 10, 0},
        {"abc\nde", 10, -8, 500, w3, h2, 10, -8},
    };
    for (const Case& c : cases) {
        CPlotPopupWnd popup;
        const ui::PopupText& p = popup.Show(c.text, c.x, c.y, c.ms, 400, 300, dc);
        EXPECT_TRUE(popup.Shown());
        EXPECT_EQ(p.width, c.width) << c.text << " at " << c.x << "," << c.y;
        EXPECT_EQ(p.height, c.height);
        EXPECT_EQ(p.x, c.left) << c.x << "," << c.y << " " << c.ms;
        EXPECT_EQ(p.y, c.top) << c.x << "," << c.y << " " << c.ms;
        EXPECT_EQ(p.lineHeight, kLine);
        EXPECT_EQ(p.Joined(), "abc\nde");
        popup.Hide();
        EXPECT_FALSE(popup.Shown());
    }
    // The device's own font is left as it was.
    gdi::Font big;
    big.pixelHeight = 40;
    dc.SelectFont(big);
    CPlotPopupWnd popup;
    EXPECT_EQ(popup.Show("ab", 0, 0, 0, 400, 300, dc).height, kLine + kLine / 2);
    EXPECT_EQ(dc.SelectFont(big).pixelHeight, 40);
}
