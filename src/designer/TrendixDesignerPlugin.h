#pragma once
#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// Offers TrendixWidget in Qt Designer's widget box, under "Trendix", with the properties the
// widget declares (title, labels, plot kind, variables, live mode, time window, legend).
class TrendixDesignerPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    explicit TrendixDesignerPlugin(QObject* parent = nullptr) : QObject(parent) {}

    QString name() const override { return QStringLiteral("TrendixWidget"); }
    QString group() const override { return QStringLiteral("Trendix"); }
    QString toolTip() const override { return QStringLiteral("A Trendix plot"); }
    QString whatsThis() const override;
    QString includeFile() const override { return QStringLiteral("trendix/TrendixWidget.h"); }
    QIcon icon() const override { return {}; }
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return initialized_; }
    void initialize(QDesignerFormEditorInterface*) override { initialized_ = true; }
    QString domXml() const override;

private:
    bool initialized_ = false;
};
