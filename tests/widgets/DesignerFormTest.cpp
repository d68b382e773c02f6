// A form made in Qt Designer that holds a TrendixWidget, loaded at run time through QUiLoader
// and the Designer plugin, then driven through the widget's properties.
#include <trendix/TrendixWidget.h>

#include "WidgetTestApp.h"

#include <QFile>
#include <QUiLoader>

#include <gtest/gtest.h>

#include <memory>

namespace {

#ifdef TRENDIX_DESIGNER_PLUGINS

std::unique_ptr<QWidget> LoadForm(QUiLoader& loader) {
    QFile file(TRENDIX_TEST_DATA "/plot-form.ui");
    if (!file.open(QFile::ReadOnly)) return nullptr;
    return std::unique_ptr<QWidget>(loader.load(&file));
}

TEST(DesignerForm, ThePluginOffersTheWidgetAndTheFormShowsThePlotItDescribes) {
    EnsureWidgetApp();
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(TRENDIX_DESIGNER_PLUGINS);
    ASSERT_TRUE(loader.availableWidgets().contains("TrendixWidget"));
    std::unique_ptr<QWidget> form = LoadForm(loader);
    ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
    QWidget* plot = form->findChild<QWidget*>("plot");
    ASSERT_NE(plot, nullptr);
    EXPECT_STREQ(plot->metaObject()->className(), "TrendixWidget");
    EXPECT_EQ(plot->property("title").toString(), "Form title");
    EXPECT_EQ(plot->property("xLabel").toString(), "Time");
    EXPECT_EQ(plot->property("variableCount").toInt(), 3);
    EXPECT_TRUE(plot->property("showLegend").toBool());

    // Driven through its properties, it draws what a widget made in code draws.
    plot->setProperty("title", "Driven");
    plot->setProperty("plotKind", 1);
    EXPECT_EQ(plot->property("title").toString(), "Driven");
    form->show();
    ProcessEvents();
    // In the order the form takes: the properties, then the size its layout gives.
    TrendixWidget inCode;
    inCode.plot().setTitle("Form title");
    inCode.plot().setXLabel("Time");
    inCode.plot().setVariableCount(3);
    inCode.plot().setShowLegend(true);
    inCode.resize(plot->size());
    inCode.plot().setTitle("Driven");
    inCode.plot().setKind(trendix::PlotKind::Bar);
    inCode.show();
    ProcessEvents();
    const QImage fromForm = plot->grab().toImage();
    const QImage fromCode = inCode.grab().toImage();
    EXPECT_EQ(fromForm.size(), fromCode.size());
    EXPECT_EQ(DifferingShare(fromForm, fromCode), 0.0);
}

#else

TEST(DesignerForm, ThePluginOffersTheWidgetAndTheFormShowsThePlotItDescribes) {
    GTEST_SKIP() << "built without the Qt Designer development files (qt6-tools-dev)";
}

#endif

} // namespace
