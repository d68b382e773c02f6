#pragma once
#include <QToolBar>

#include <array>

class CTrendixCtrl;
class QAction;
class QActionGroup;
class QComboBox;
class QToolButton;

// The drawing toolbar of one control: the shape tools in their order, three check buttons,
// the marker tool with its marker choice, and the colour, line-type, font face and font size
// lists. Tools and lists act through the control; after each press, release or key in the
// plot the bar shows the control's state again (the tool released once its shape is made,
// the selection's colour and line type).
class CDrawBarCtrl : public QToolBar {
    Q_OBJECT
public:
    // Controls of the bar by their identifiers.
    enum ControlId {
        kColorList = 16518,
        kLineList = 16519,
        kMarkerBox = 16521,
        kFaceList = 16528,
        kSizeList = 16529,
    };
    static constexpr int kColors = 16, kLineTypes = 7, kMarkers = 12, kLargestFontSize = 30;

    // plot is the widget that shows the control; its input keeps the bar in step.
    CDrawBarCtrl(CTrendixCtrl& control, QWidget* plot, QWidget* parent = nullptr);

    // The button of a tool or check command, null for another command.
    QAction* ActionFor(int command) const;
    QComboBox* ListFor(int controlId) const;
    // Shows the control's tool, colour and line type.
    void Sync();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddToolButtons();
    void AddMarkerChoice();
    void AddLists();

    CTrendixCtrl& control_;
    QActionGroup* tools_;
    QToolButton* markerBox_ = nullptr;
    QComboBox* colors_ = nullptr;
    QComboBox* lines_ = nullptr;
    QComboBox* faces_ = nullptr;
    QComboBox* sizes_ = nullptr;
};
