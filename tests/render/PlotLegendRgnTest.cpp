// Editing the legend with the pointer: moving it, its eight resize handles, what the end of a
// drag does to its position and sizes, and the limits of the box settings.
#include "render/PlotLegendRgn.h"
#include "platform/gdi/RecordingDC.h"
#include "render/PlotEnv.h"
#include "render/PlotPaintContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using Rect = CPlotRegion::Rect;

// A legend of two entries placed at the top right of a 300 x 230 drawing region.
struct Legend : ::testing::Test {
    Legend() : ctx(dc, env) {
        legend.font = &font;
        legend.shown = 1;
        legend.entries.push_back(Entry("Feed flow", 1));
        legend.entries.push_back(Entry("Temperature", 2));
        legend.Measure(ctx);
        legend.Place(drawing, 1, 0, 400);
        start = legend.rect;
    }
    static CLegendEntry Entry(const std::string& text, int color) {
        CLegendEntry e;
        e.shown.text = text;
        e.color = color;
        return e;
    }
    // A whole drag from the middle of the legend by (dx, dy) in the given mode.
    bool Drag(int mode, int dx, int dy) {
        legend.SetDragMode(mode);
        const gdi::Point from{(start.left + start.right) / 2, (start.top + start.bottom) / 2};
        legend.BeginDrag(ctx, from);
        legend.DragTo(ctx, {from.x + dx / 2, from.y + dy / 2});
        legend.DragTo(ctx, {from.x + dx, from.y + dy});
        dragged = legend.dragRect;
        return legend.EndDrag(ctx, drawing, fx, fy);
    }
    gdi::RecordingDC dc{400, 310};
    CPlotEnv env;
    CPlotPaintContext ctx;
    CPlotFont font{"Times New Roman", 10, 0};
    CPlotLegendRgn legend;
    const Rect drawing{50, 20, 350, 250};
    Rect start, dragged;
    float fx = -1, fy = -1;
};

TEST_F(Legend, StartsAtTheTopRightOfTheDrawingRegion) {
    EXPECT_GT(legend.width, 0);
    EXPECT_GT(legend.height, 0);
    EXPECT_EQ(start.top, drawing.top);
    EXPECT_EQ(start.width(), legend.width);
    EXPECT_EQ(start.height(), legend.height);
}

TEST_F(Legend, MovingOffsetsTheWholeBoxAndKeepsItsSizes) {
    ASSERT_TRUE(Drag(0, -40, 30));
    EXPECT_EQ(dragged,
              (Rect{start.left - 40, start.top + 30, start.right - 40, start.bottom + 30}));
    EXPECT_FLOAT_EQ(fx, float(dragged.right - drawing.left + 1) / float(drawing.width() + 1));
    EXPECT_FLOAT_EQ(fy, float(dragged.top - drawing.top) / float(drawing.height() + 1));
    EXPECT_EQ(legend.lineSampleLength, 90);
    EXPECT_FLOAT_EQ(legend.itemHeightFactor, 1.25f);
    EXPECT_EQ(font.size, 10);
}

struct ResizeCase {
    int mode;
    int dLeft, dTop, dRight, dBottom; // which edges follow a drag by (+7, +9)
};

TEST_F(Legend, EachHandleMovesItsOwnEdgesOnly) {
    const ResizeCase cases[] = {
        {1, 7, 9, 0, 0}, // top left
        {2, 0, 9, 7, 0}, // top right
        {3, 0, 0, 7, 9}, // bottom right
        {4, 7, 0, 0, 9}, // bottom left
        {5, 7, 0, 0, 0}, // left side
        {6, 0, 0, 7, 0}, // right side
        {7, 0, 9, 0, 0}, // top side
        {8, 0, 0, 0, 9}, // bottom side
    };
    for (const ResizeCase& c : cases) {
        legend.SetDragMode(c.mode);
        legend.BeginDrag(ctx, {200, 100});
        legend.DragTo(ctx, {207, 109});
        EXPECT_EQ(legend.dragRect, (Rect{start.left + c.dLeft, start.top + c.dTop,
                                         start.right + c.dRight, start.bottom + c.dBottom}))
            << "mode " << c.mode;
    }
}

TEST_F(Legend, ResizingKeepsTwentyUnitsAndTheSidesKeepTheMinimumWidth) {
    ASSERT_GT(legend.minimumWidth, 20);
    legend.SetDragMode(6);
    legend.BeginDrag(ctx, {0, 0});
    legend.DragTo(ctx, {-1000, 0});
    EXPECT_EQ(legend.dragRect.width(), legend.minimumWidth);
    legend.SetDragMode(5);
    legend.DragTo(ctx, {1000, 0});
    EXPECT_EQ(legend.dragRect.width(), legend.minimumWidth);
    legend.SetDragMode(3); // corners keep only twenty units each way
    legend.DragTo(ctx, {-1000, -1000});
    EXPECT_EQ(legend.dragRect, (Rect{start.left, start.top, start.left + 20, start.top + 20}));
    legend.SetDragMode(7);
    legend.DragTo(ctx, {0, 1000});
    EXPECT_EQ(legend.dragRect.top, start.bottom - 20);
}

TEST_F(Legend, TheOutlineFollowsThePointerWithAnInvertingPen) {
    legend.SetDragMode(0);
    dc.Clear();
    legend.BeginDrag(ctx, {200, 100});
    legend.DragTo(ctx, {210, 95});
    // The first outline, then the same one again to take it away, then the moved one.
    const std::vector<std::string> rects = dc.CallsNamed("Rectangle");
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[0], rects[1]);
    EXPECT_NE(rects[1], rects[2]);
    for (const gdi::RecordedCall& call : dc.Calls()) {
        if (call.name == "SetRop2" &&
            call.args[0] != static_cast<long long>(gdi::RasterOp::CopyPen)) {
            EXPECT_EQ(call.args[0], static_cast<long long>(gdi::RasterOp::NotXorPen));
        }
    }
    EXPECT_EQ(dc.Rop2(), gdi::RasterOp::CopyPen);
}

TEST_F(Legend, ADragThatEndsWhereItStartedChangesNothing) {
    EXPECT_FALSE(Drag(0, 0, 0));
    EXPECT_FALSE(Drag(6, 0, 0));
    EXPECT_FLOAT_EQ(fx, -1);
    EXPECT_EQ(legend.lineSampleLength, 90);
}

TEST_F(Legend, TheSidesChangeTheLineSampleByTheWidthChange) {
    ASSERT_TRUE(Drag(6, 25, 0));
    EXPECT_EQ(legend.lineSampleLength, 115);
    EXPECT_EQ(font.size, 10);
    // The box itself moves only at the next layout: the left side starts from the same box.
    ASSERT_TRUE(Drag(5, 30, 0));
    EXPECT_EQ(legend.lineSampleLength, 85);
    // Never down to 10 or below.
    legend.lineSampleLength = 15;
    ASSERT_TRUE(Drag(5, 30, 0));
    EXPECT_EQ(legend.lineSampleLength, 11);
}

TEST_F(Legend, TopAndBottomSetTheItemSpacing) {
    const int total = legend.textHeightTotal;
    const int items = legend.itemCount;
    ASSERT_EQ(items, 2);
    ASSERT_TRUE(Drag(8, 0, 12));
    const float expected = (float(dragged.height() - total) / float(items - 1)) /
                               (float(total - 2 * legend.margin) / float(items)) +
                           0.8f;
    EXPECT_FLOAT_EQ(legend.itemHeightFactor, expected);
    EXPECT_GT(legend.itemHeightFactor, 1.25f);
    EXPECT_EQ(legend.lineSampleLength, 90);
}

TEST_F(Legend, CornersScaleTheFontByTheRatioCloserToOne) {
    // Twice as high but only a little wider: the width ratio wins.
    const int dx = start.width() / 5;
    ASSERT_TRUE(Drag(3, dx, start.height()));
    const float ratio = float(start.width() + dx) / float(start.width());
    EXPECT_EQ(font.size, static_cast<int>(std::lround(10 * ratio)));
    EXPECT_EQ(legend.sized, 0);
}

TEST_F(Legend, TheBoxTakesOnlyValuesWithinItsLimits) {
    legend.SetBox(10, 1.25f, 5);
    EXPECT_EQ(legend.lineSampleLength, 90);
    legend.SetBox(201, 1.25f, 5);
    EXPECT_EQ(legend.lineSampleLength, 90);
    legend.SetBox(11, 1.25f, 5);
    EXPECT_EQ(legend.lineSampleLength, 11);
    legend.SetBox(200, 1.25f, 5);
    EXPECT_EQ(legend.lineSampleLength, 200);

    legend.SetBox(90, 0.79f, 5);
    EXPECT_FLOAT_EQ(legend.itemHeightFactor, 1.25f);
    legend.SetBox(90, 3.0f, 5);
    EXPECT_FLOAT_EQ(legend.itemHeightFactor, 1.25f);
    legend.SetBox(90, 0.8f, 5);
    EXPECT_FLOAT_EQ(legend.itemHeightFactor, 0.8f);

    legend.SetBox(90, 1.25f, 2);
    EXPECT_EQ(legend.margin, 5);
    legend.SetBox(90, 1.25f, 40);
    EXPECT_EQ(legend.margin, 5);
    legend.SetBox(90, 1.25f, 39);
    EXPECT_EQ(legend.margin, 39);
    EXPECT_EQ(legend.sized, 0);
}

TEST_F(Legend, ALongerLineSampleWidensTheBox) {
    const int before = legend.width;
    legend.SetBox(120, 1.25f, 5);
    legend.Measure(ctx);
    EXPECT_EQ(legend.width, before + 30);
}

} // namespace
