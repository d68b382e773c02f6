#include "designer/TrendixDesignerPlugin.h"

#include <trendix/TrendixWidget.h>

QString TrendixDesignerPlugin::whatsThis() const {
    return QStringLiteral("One plot: live time plots, XY plots, bar graphs and triangular "
                          "plots, driven from C++ through TrendixWidget::plot().");
}

QWidget* TrendixDesignerPlugin::createWidget(QWidget* parent) {
    return new TrendixWidget(parent);
}

// The widget as a new form gets it: named plot, at the size a new control has.
QString TrendixDesignerPlugin::domXml() const {
    return QStringLiteral(R"(<ui language="c++">
 <widget class="TrendixWidget" name="plot">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>400</width><height>310</height></rect>
  </property>
 </widget>
</ui>
)");
}
