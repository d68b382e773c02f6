// The drawing toolbar as a Qt tool bar: tool buttons with icons drawn here, the marker choice
// and the owner-drawn colour and line-type lists.
#include "qt/DrawBarCtrl.h"

#include "control/TrendixCtrl.h"
#include "model/MenuTable.h"
#include "qt/QtDeviceContext.h"
#include "render/DrawTool.h"
#include "render/PlotEnv.h"

#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kIconSize = 16;
constexpr int kListIconWidth = 32;
// The three check buttons after the tools: they keep their own checked state only.
constexpr int kCheckCommands[] = {56059, 56060, 56061};

// The tool buttons in their order, with the picture each shows.
enum class Picture { Text, Line, Box, Polygon, Polyline, Ellipse, UpperHalf, RightHalf, Quarter };
struct ToolButton {
    int command;
    Picture picture;
    const char* tip;
};
constexpr ToolButton kToolButtons[] = {
    {ID_TOOL_TEXT, Picture::Text, "Text"},
    {ID_TOOL_LINE, Picture::Line, "Line"},
    {ID_TOOL_BOX, Picture::Box, "Box"},
    {ID_TOOL_POLYGON, Picture::Polygon, "Polygon"},
    {ID_TOOL_POLYLINE, Picture::Polyline, "Polyline"},
    {ID_TOOL_ELLIPSE, Picture::Ellipse, "Ellipse"},
    {ID_TOOL_UPPER_HALF, Picture::UpperHalf, "Upper half ellipse"},
    {ID_TOOL_RIGHT_HALF, Picture::RightHalf, "Right half ellipse"},
    {ID_TOOL_QUARTER_ARC, Picture::Quarter, "Quarter arc"},
};

QIcon ToolIcon(Picture picture) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    const QRect box(2, 3, 11, 9);
    switch (picture) {
    case Picture::Text:
        p.setFont(QFont("Liberation Serif", 11, QFont::Bold));
        p.drawText(pixmap.rect(), Qt::AlignCenter, "A");
        break;
    case Picture::Line:
        p.drawLine(2, 13, 13, 2);
        break;
    case Picture::Box:
        p.drawRect(box);
        break;
    case Picture::Polygon:
        p.drawPolygon(QPolygon({QPoint(2, 12), QPoint(7, 2), QPoint(13, 6), QPoint(11, 13)}));
        break;
    case Picture::Polyline:
        p.drawPolyline(QPolygon({QPoint(2, 12), QPoint(6, 3), QPoint(10, 11), QPoint(14, 2)}));
        break;
    case Picture::Ellipse:
        p.drawEllipse(box);
        break;
    case Picture::UpperHalf: // Qt's angles are in sixteenths of a degree, counter-clockwise
        p.drawArc(QRect(2, 4, 11, 14), 0, 180 * 16);
        break;
    case Picture::RightHalf:
        p.drawArc(QRect(-4, 2, 16, 11), -90 * 16, 180 * 16);
        break;
    case Picture::Quarter:
        p.drawArc(QRect(-8, 2, 20, 22), 0, 90 * 16);
        break;
    }
    return QIcon(pixmap);
}

QIcon CheckIcon(int k) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    // Dots in a grid whose spacing grows with the button.
    const int step = 3 + k;
    for (int x = 2; x < kIconSize - 1; x += step)
        for (int y = 2; y < kIconSize - 1; y += step)
            p.drawPoint(x, y);
    return QIcon(pixmap);
}

// A picture drawn through the control's own drawing environment, so the lists show exactly
// the pens and markers the plot draws.
template <class Draw>
QIcon EnvironmentIcon(int width, Draw draw) {
    QImage image(width, kIconSize, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QtDeviceContext dc(image, gdi::DeviceKind::Memory);
        CPlotEnv env;
        draw(dc, env);
    }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

CDrawBarCtrl::CDrawBarCtrl(CTrendixCtrl& control, QWidget* plot, QWidget* parent)
    : QToolBar("Drawing", parent), control_(control), tools_(new QActionGroup(this)) {
    setObjectName("drawingToolbar");
    setIconSize(QSize(kIconSize, kIconSize));
    AddToolButtons();
    AddMarkerChoice();
    AddLists();
    if (plot) plot->installEventFilter(this);
    Sync();
}

void CDrawBarCtrl::AddToolButtons() {
    tools_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const ToolButton& b : kToolButtons) {
        QAction* action = addAction(ToolIcon(b.picture), b.tip);
        action->setCheckable(true);
        action->setData(b.command);
        tools_->addAction(action);
        connect(action, &QAction::triggered, this, [this, command = b.command] {
            control_.OnCommand(command);
            Sync();
        });
    }
    addSeparator();
    addSeparator();
    for (int k = 0; k < int(std::size(kCheckCommands)); ++k) {
        QAction* action = addAction(CheckIcon(k), QString::number(kCheckCommands[k]));
        action->setCheckable(true);
        action->setData(kCheckCommands[k]);
    }
}

void CDrawBarCtrl::AddMarkerChoice() {
    addSeparator();
    // The marker tool, and the box that chooses its marker.
    QAction* marker = addAction(
        EnvironmentIcon(kIconSize, [](gdi::IDeviceContext& dc,
                                      CPlotEnv& env) { env.DrawMarker(dc, 1, 8, 8, 0, 4); }),
        "Marker point");
    marker->setCheckable(true);
    marker->setData(ID_TOOL_MARKER);
    tools_->addAction(marker);
    connect(marker, &QAction::triggered, this, [this] {
        control_.OnCommand(ID_TOOL_MARKER);
        Sync();
    });
    markerBox_ = new QToolButton(this);
    markerBox_->setObjectName(QString::number(kMarkerBox));
    markerBox_->setPopupMode(QToolButton::InstantPopup);
    markerBox_->setText("v");
    auto* menu = new QMenu(markerBox_);
    for (int kind = 0; kind < kMarkers; ++kind) {
        QAction* choice =
            menu->addAction(EnvironmentIcon(kIconSize,
                                            [kind](gdi::IDeviceContext& dc, CPlotEnv& env) {
                                                env.DrawMarker(dc, kind, 8, 8, 0, 4);
                                            }),
                            QString::number(kind));
        connect(choice, &QAction::triggered, this,
                [kind] { CDrawTool::Instance().SetCurrentMarker(kind); });
    }
    markerBox_->setMenu(menu);
    addWidget(markerBox_);
}

void CDrawBarCtrl::AddLists() {
    CDrawTool& tool = CDrawTool::Instance();
    colors_ = new QComboBox(this);
    colors_->setObjectName(QString::number(kColorList));
    for (int i = 0; i < kColors; ++i) {
        const gdi::ColorRef rgb = tool.ColorAt(i);
        QPixmap swatch(kListIconWidth, kIconSize - 4);
        swatch.fill(QColor(int(rgb & 0xFF), int(rgb >> 8 & 0xFF), int(rgb >> 16 & 0xFF)));
        colors_->addItem(QIcon(swatch), QString::number(i));
    }
    colors_->setIconSize(QSize(kListIconWidth, kIconSize - 4));
    connect(colors_, &QComboBox::activated, this, [this](int i) {
        control_.ApplyToolbarColor(CDrawTool::Instance().ColorAt(i));
        Sync();
    });
    addWidget(colors_);

    lines_ = new QComboBox(this);
    lines_->setObjectName(QString::number(kLineList));
    for (int i = 0; i < kLineTypes; ++i) {
        lines_->addItem(EnvironmentIcon(kListIconWidth,
                                        [i](gdi::IDeviceContext& dc, CPlotEnv& env) {
                                            const gdi::Pen old = env.SelectPen(dc, 0, i + 1);
                                            dc.MoveTo(1, kIconSize / 2);
                                            dc.LineTo(kListIconWidth - 1, kIconSize / 2);
                                            dc.SelectPen(old);
                                        }),
                        QString::number(i));
    }
    lines_->setIconSize(QSize(kListIconWidth, kIconSize));
    connect(lines_, &QComboBox::activated, this, [this](int i) {
        control_.ApplyToolbarLineType(i + 1);
        Sync();
    });
    addWidget(lines_);

    faces_ = new QComboBox(this);
    faces_->setObjectName(QString::number(kFaceList));
    faces_->addItems(QFontDatabase::families());
    faces_->setCurrentText(QString::fromStdString(tool.CurrentFace()));
    sizes_ = new QComboBox(this);
    sizes_->setObjectName(QString::number(kSizeList));
    for (int size = 1; size <= kLargestFontSize; ++size)
        sizes_->addItem(QString::asprintf("%2d", size));
    sizes_->setCurrentIndex(tool.CurrentFontSize() - 1);
    // Their values are read when a text shape is made.
    auto font = [this] {
        CDrawTool::Instance().SetCurrentFont(faces_->currentText().toStdString(),
                                             sizes_->currentIndex() + 1);
    };
    connect(faces_, &QComboBox::currentIndexChanged, this, font);
    connect(sizes_, &QComboBox::currentIndexChanged, this, font);
    addWidget(faces_);
    addWidget(sizes_);
}

QAction* CDrawBarCtrl::ActionFor(int command) const {
    for (QAction* action : actions())
        if (action->data().toInt() == command && command != 0) return action;
    return nullptr;
}

QComboBox* CDrawBarCtrl::ListFor(int controlId) const {
    switch (controlId) {
    case kColorList:
        return colors_;
    case kLineList:
        return lines_;
    case kFaceList:
        return faces_;
    case kSizeList:
        return sizes_;
    default:
        return nullptr;
    }
}

void CDrawBarCtrl::Sync() {
    // The tool button stays down while its tool is picked or its shape is being drawn.
    const int tool = control_.CurrentTool();
    for (QAction* action : tools_->actions())
        action->setChecked(tool != 0 && action->data().toInt() == tool);
    int colorIndex = 0, lineType = 1;
    control_.ToolbarChoice(colorIndex, lineType);
    if (colorIndex >= 0 && colorIndex < kColors) colors_->setCurrentIndex(colorIndex);
    if (lineType >= 1 && lineType <= kLineTypes) lines_->setCurrentIndex(lineType - 1);
}

bool CDrawBarCtrl::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
        // After the plot has handled the input.
        QTimer::singleShot(0, this, &CDrawBarCtrl::Sync);
        break;
    default:
        break;
    }
    return QToolBar::eventFilter(watched, event);
}
