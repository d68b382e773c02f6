#include "pages/PlotTextDlg.h"
#include "platform/ui/HeadlessSite.h"

#include <gtest/gtest.h>

#include <string>

TEST(PlotTextDlg, LineBreaksShowAsBackslashNAndComeBackAsCrLf) {
    struct Case {
        std::string text, shown, back;
    };
    const Case cases[] = {
        {"one", "one", "one"},
        {"a\r\nb", "a\\nb", "a\r\nb"},
        {"a\nb\rc", "a\\nb\\nc", "a\r\nb\r\nc"},
        {"\r\n\r\n", "\\n\\n", "\r\n\r\n"},
        {"back\\slash", "back\\slash", "back\\slash"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CPlotTextDlg::EscapeBreaks(c.text), c.shown) << c.text;
        EXPECT_EQ(CPlotTextDlg::UnescapeBreaks(c.shown), c.back) << c.shown;
    }
}

TEST(PlotTextDlg, ShowsTheSettingAndKeepsWhatAnEditCannotTake) {
    ui::HeadlessSite site;
    const TextShapeSetting before{"a\r\nb", "Liberation Serif", 12, 180, 5};
    CPlotTextDlg dialog(before, site);
    dialog.Activate();
    EXPECT_EQ(dialog.Value("Text"), "a\\nb");
    EXPECT_EQ(dialog.Value("Font"), "Liberation Serif");
    EXPECT_EQ(dialog.Value("Size"), "12");
    EXPECT_EQ(dialog.Value("Direction"), "2");
    EXPECT_EQ(dialog.Value("Italic"), "1");
    EXPECT_EQ(dialog.Value("Bold"), "0");
    EXPECT_EQ(dialog.Value("Underline"), "1");
    // Unchanged, an apply gives the setting back as it was.
    EXPECT_TRUE(dialog.Edit("Text", "a\\nb"));
    dialog.Apply();
    EXPECT_EQ(dialog.Setting(), before);
    // An empty face and a size out of range keep the old ones; the rest is taken.
    EXPECT_TRUE(dialog.Edit("Font", ""));
    EXPECT_TRUE(dialog.Edit("Size", "5000"));
    EXPECT_TRUE(dialog.Edit("Direction", "3"));
    EXPECT_TRUE(dialog.Edit("Italic", "0"));
    dialog.Apply();
    EXPECT_EQ(dialog.Setting().face, "Liberation Serif");
    EXPECT_EQ(dialog.Setting().points, 12);
    EXPECT_EQ(dialog.Setting().escapement, 270);
    EXPECT_EQ(dialog.Setting().style, 4);
}
