// The drawing toolbar in trendix-view: its buttons and lists, and shapes drawn with it
// through real mouse events on the plot.
#include "ViewOptions.h"
#include "ViewWindow.h"
#include "WidgetTestApp.h"
#include "annot/PlotOverlay.h"
#include "control/TrendixCtrl.h"
#include "model/MenuTable.h"
#include "qt/DrawBarCtrl.h"
#include <trendix/TrendixWidget.h>

#include <QAction>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DrawBarTest : public testing::Test {
protected:
    DrawBarTest() {
        EnsureWidgetApp();
        options.toolbar = true;
        window = std::make_unique<ViewWindow>(options);
        window->ResizeClient(500, 400);
        window->show();
        ProcessEvents();
    }
    TrendixWidget& View() { return window->view(); }
    CDrawBarCtrl& Bar() { return *window->DrawingToolbar(); }
    const CPlotShapes& Shapes() { return View().control().PlotObjects().Shapes(); }
    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(&View(), button, Qt::NoModifier, from);
        QTest::mouseMove(&View(), (from + to) / 2);
        QTest::mouseMove(&View(), to);
        QTest::mouseRelease(&View(), button, Qt::NoModifier, to);
        ProcessEvents();
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(&View(), button, Qt::NoModifier, at);
        ProcessEvents();
    }

    ViewOptions options;
    std::unique_ptr<ViewWindow> window;
};

} // namespace

TEST_F(DrawBarTest, TheBarHoldsTheToolsInOrderAndItsLists) {
    const int order[] = {ID_TOOL_TEXT,
                         ID_TOOL_LINE,
                         ID_TOOL_BOX,
                         ID_TOOL_POLYGON,
                         ID_TOOL_POLYLINE,
                         ID_TOOL_ELLIPSE,
                         ID_TOOL_UPPER_HALF,
                         ID_TOOL_RIGHT_HALF,
                         ID_TOOL_QUARTER_ARC,
                         56059,
                         56060,
                         56061,
                         ID_TOOL_MARKER};
    std::vector<int> commands;
    for (QAction* action : Bar().actions())
        if (action->data().toInt() != 0) commands.push_back(action->data().toInt());
    EXPECT_EQ(commands, std::vector<int>(std::begin(order), std::end(order)));
    EXPECT_EQ(Bar().ListFor(CDrawBarCtrl::kColorList)->count(), 16);
    EXPECT_EQ(Bar().ListFor(CDrawBarCtrl::kColorList)->itemText(15), "15");
    EXPECT_EQ(Bar().ListFor(CDrawBarCtrl::kLineList)->count(), 7);
    EXPECT_EQ(Bar().ListFor(CDrawBarCtrl::kSizeList)->count(), 30);
    EXPECT_EQ(Bar().ListFor(CDrawBarCtrl::kSizeList)->itemText(0), " 1");
    EXPECT_GT(Bar().ListFor(CDrawBarCtrl::kFaceList)->count(), 0);
    // The check buttons only keep their own state.
    QAction* check = Bar().ActionFor(56060);
    check->trigger();
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(View().control().CurrentTool(), 0);
}

TEST_F(DrawBarTest, ABoxAndAPolygonDrawnWithTheBarAndGrouped) {
    const QImage before = View().surfaceImage();
    // The box: the button stays down until the shape is made.
    Bar().ActionFor(ID_TOOL_BOX)->trigger();
    EXPECT_TRUE(Bar().ActionFor(ID_TOOL_BOX)->isChecked());
    Drag({120, 100}, {200, 160});
    ASSERT_EQ(Shapes().Displays().size(), 1u);
    EXPECT_FALSE(Bar().ActionFor(ID_TOOL_BOX)->isChecked());
    // The polygon: three clicks and a right click.
    Bar().ActionFor(ID_TOOL_POLYGON)->trigger();
    Click({260, 100});
    QTest::mouseMove(&View(), {320, 110});
    Click({320, 110});
    QTest::mouseMove(&View(), {300, 180});
    Click({300, 180});
    Click({300, 180}, Qt::RightButton);
    ASSERT_EQ(Shapes().Displays().size(), 2u);
    EXPECT_EQ(Shapes().Displays().back()->Kind(), CPlotDisplay::kPolygon);
    const QImage drawn = View().surfaceImage();
    EXPECT_NE(drawn, before);

    // A colour chosen with nothing selected waits for new shapes; the selection takes it.
    Click({160, 100}); // on the box's top edge
    ASSERT_EQ(Shapes().Selected().size(), 1u);
    QComboBox* colors = Bar().ListFor(CDrawBarCtrl::kColorList);
    colors->setCurrentIndex(2);
    emit colors->activated(2);
    ProcessEvents();
    EXPECT_EQ(Shapes().Displays().front()->ColorIndex(), 2);
    EXPECT_EQ(colors->currentIndex(), 2);

    // A band round both, then Group: one path that draws them as before.
    Drag({110, 90}, {340, 200});
    ASSERT_EQ(Shapes().Selected().size(), 2u);
    const QImage selected = View().surfaceImage();
    View().control().OnCommand(ID_GROUP);
    ProcessEvents();
    ASSERT_EQ(Shapes().Displays().size(), 1u);
    EXPECT_EQ(Shapes().Displays().front()->Kind(), CPlotDisplay::kPath);
    EXPECT_NE(View().surfaceImage(), selected);
}
