// The typed front of a widget's plot: the same plot the automation interface drives, shown in
// the widget, and the properties Qt Designer sets.
#include <trendix/TrendixWidget.h>

#include "WidgetTestApp.h"

#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<TrendixWidget> ShownWidget() {
    EnsureWidgetApp();
    auto widget = std::make_unique<TrendixWidget>();
    widget->resize(600, 450);
    widget->show();
    ProcessEvents();
    return widget;
}

QImage Shown(TrendixWidget& widget) {
    widget.repaint();
    ProcessEvents();
    return widget.surfaceImage();
}

TEST(PlotWidget, ASeriesThroughTheFrontDrawsWhatPointsByNumberDraw) {
    const double flow[] = {10, 40, 80, 120}, head[] = {80, 74, 52, 22};
    auto byNumber = ShownWidget();
    byNumber->invoke("nvariables", {2});
    byNumber->invoke("npoints", {4});
    byNumber->invoke("Title", {"Pump curve"});
    for (int i = 0; i < 4; ++i) {
        byNumber->invoke("SetXData", {1, i, flow[i]});
        byNumber->invoke("SetData", {1, i, head[i]});
    }
    auto typed = ShownWidget();
    typed->plot().setVariableCount(2);
    typed->plot().setTitle("Pump curve");
    typed->plot().setSeries(1, flow, head);
    // The second variable has no points in either: four missing ones by number.
    typed->plot().setYValues(2, std::vector<double>(4, std::nan("")));
    const QImage expected = Shown(*byNumber);
    EXPECT_EQ(DifferingShare(Shown(*typed), expected), 0.0);
    EXPECT_EQ(typed->invoke("Title").toString(), "Pump curve");
}

TEST(PlotWidget, ABlockOfLiveSamplesScrollsTheShownPlot) {
    auto widget = ShownWidget();
    trendix::Plot& plot = widget->plot();
    plot.setLive(true);
    plot.setVariableCount(2);
    plot.setTimeWindow(1);
    const QImage empty = Shown(*widget);
    std::vector<double> times(300), values(600);
    for (std::size_t r = 0; r < times.size(); ++r) {
        times[r] = double(r) * 0.01;
        values[2 * r] = std::sin(times[r]);
        values[2 * r + 1] = std::cos(times[r]);
    }
    plot.appendBlock(times, values);
    ProcessEvents();
    EXPECT_TRUE(widget->horizontalBar()->isVisible()); // the time axis moved on
    EXPECT_GT(DifferingShare(Shown(*widget), empty), 0.001);
    EXPECT_GT(plot.range(0).high, 2.9);
}

TEST(PlotWidget, AWidgetsPlotTakesTheWidgetsSize) {
    auto widget = ShownWidget();
    try {
        widget->plot().setSize(100, 100);
        FAIL() << "a widget's plot must refuse a size of its own";
    } catch (const trendix::Error& e) {
        EXPECT_EQ(e.hresult(), trendix::Error::kWrongMode);
    }
    EXPECT_EQ(widget->plot().width(), widget->clientSize().width());
}

TEST(PlotWidget, DesignerPropertiesReadAndWriteThePlot) {
    auto widget = ShownWidget();
    // In the order Designer writes them: a new kind rebuilds the plot with one variable.
    EXPECT_TRUE(widget->setProperty("title", "Reactor"));
    EXPECT_TRUE(widget->setProperty("plotKind", 1));
    EXPECT_TRUE(widget->setProperty("variableCount", 4));
    EXPECT_TRUE(widget->setProperty("showLegend", true));
    EXPECT_TRUE(widget->setProperty("timeWindow", 20.0));
    EXPECT_EQ(widget->plot().title(), "Reactor");
    EXPECT_EQ(widget->plot().variableCount(), 4);
    EXPECT_EQ(widget->plot().kind(), trendix::PlotKind::Bar);
    EXPECT_TRUE(widget->plot().showLegend());
    EXPECT_EQ(widget->property("timeWindow").toDouble(), 20.0);
    // A value the plot refuses leaves the property as it was.
    widget->setProperty("variableCount", 0);
    EXPECT_EQ(widget->property("variableCount").toInt(), 4);
    widget->setProperty("plotKind", 9);
    EXPECT_EQ(widget->property("plotKind").toInt(), 1);
}

} // namespace
