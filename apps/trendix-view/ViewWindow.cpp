#include "ViewWindow.h"

#include "AutomationShell.h"
#include "LiveStats.h"
#include "PlotFileCommands.h"
#include "ProcessDemo.h"
#include "ValueText.h"
#include "control/TrendixCtrl.h"
#include "qt/DrawBarCtrl.h"
#include "qt/QtPropertySheet.h"
#include "qt/QtVariant.h"
#include <trendix/TrendixWidget.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

constexpr char kOpenFilter[] = "Plots (*.ply *.plx *.tset *.tsh);;Scripts (*.ply);;"
                               "Input files (*.plx);;Settings (*.tset);;Shell sessions (*.tsh);;"
                               "All files (*)";

bool EndsWith(const QString& path, const char* ending) {
    return path.endsWith(QLatin1String(ending), Qt::CaseInsensitive);
}

// "= X Y": the centre of rect (in widget's coordinates) on the screen.
std::string ScreenCentre(const QWidget& widget, const QRect& rect) {
    const QPoint centre = widget.mapToGlobal(rect.center());
    return "= " + std::to_string(centre.x()) + " " + std::to_string(centre.y());
}

// What `.sheet` answers about the open property sheet or edit dialog: its caption; the
// centre of a tab, of a field on a tab, or of a button.
std::string LocateInSheet(const std::vector<std::string>& args) {
    const auto* sheet = dynamic_cast<const QtPropertySheet*>(QApplication::activeModalWidget());
    if (!sheet) return "! no sheet";
    if (args.empty()) return "= " + sheet->windowTitle().toStdString();
    const QString word = QString::fromStdString(args[0]);
    if (const auto* tabs = sheet->findChild<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabText(i) != word) continue;
            if (args.size() == 1) return ScreenCentre(*tabs->tabBar(), tabs->tabBar()->tabRect(i));
            const QWidget* field = sheet->FieldWidget(i, args[1]);
            return field ? ScreenCentre(*field, field->rect()) : "! no such field";
        }
    }
    for (const QAbstractButton* button : sheet->findChildren<QAbstractButton*>())
        if (button->isVisible() && QString(button->text()).remove('&') == word)
            return ScreenCentre(*button, button->rect());
    return "! no such tab or button";
}

} // namespace

ViewWindow::ViewWindow(const ViewOptions& options)
    : view_(new TrendixWidget(this)), pointer_(new QLabel(this)), options_(options) {
    setWindowTitle("trendix-view");
    setCentralWidget(view_);
    view_->setPreferredSize(QSize(options.width, options.height));
    view_->setFocus();
    statusBar()->addPermanentWidget(pointer_);
    BuildMenus();
    connect(view_, &TrendixWidget::setMessageText, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(view_, &TrendixWidget::pointerLocation, this,
            [this](const QString& coordinate, int, int) { ShowPointer(coordinate); });
    connect(view_, &TrendixWidget::pointerExit, this, [this] { pointer_->clear(); });
    connect(view_, &TrendixWidget::eventFired, this, &ViewWindow::LogEvent);
    // A window handler that failed: told on standard error and in the status bar.
    connect(view_, &TrendixWidget::handlerFailed, this,
            [this](const QString& handler, const QString& message) {
                const QString text = "trendix-view: " + handler + " failed: " + message;
                std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
                statusBar()->showMessage(text);
            });
    // The status bar follows the pointer, so the host asks for its location.
    view_->control().SetEvent(1, true, true);
    if (options.toolbar) ShowDrawingToolbar(true);
}

ViewWindow::~ViewWindow() {
    if (demo_) demo_->Stop();
    input_.reset();
    shell_.reset(); // detaches from the control before the widget goes
}

void ViewWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&Open...", QKeySequence::Open, this, &ViewWindow::OpenDialog);
    file->addAction("&Save Settings...", QKeySequence::Save, this, &ViewWindow::SaveSettingsDialog);
    file->addAction("&Demo", this,
                    [this] { StartDemo(options_.demoVariables, options_.demoRate); });
    file->addSeparator();
    // Printing goes through the control: its print dialog, its preview and its page layout.
    file->addAction("&Print...", QKeySequence::Print, this,
                    [this] { view_->control().Print2(false); });
    previewAction_ = file->addAction("Print Pre&view", this,
                                     [this](bool on) { view_->control().PrintPreview(on); });
    previewAction_->setCheckable(true);
    file->addAction("Page &Layout...", this, [this] { view_->control().PageLayout(); });
    file->addSeparator();
    file->addAction("&Quit", QKeySequence::Quit, qApp, &QApplication::quit);
    QMenu* view = menuBar()->addMenu("&View");
    drawBarAction_ = view->addAction("&Drawing Toolbar", this, &ViewWindow::ShowDrawingToolbar);
    drawBarAction_->setCheckable(true);
}

void ViewWindow::ShowDrawingToolbar(bool on) {
    if (on && !drawBar_) {
        // The bar takes its band above the plot; the plot is laid out below it.
        drawBar_ = new CDrawBarCtrl(view_->control(), view_, this);
        addToolBar(Qt::TopToolBarArea, drawBar_);
    }
    if (drawBar_) drawBar_->setVisible(on);
    drawBarAction_->setChecked(on);
}

void ViewWindow::Load(const QString& path) {
    if (demo_) demo_->Stop();
    CTrendixCtrl& control = view_->control();
    control.Clear();
    if (EndsWith(path, ".tsh")) {
        // A session here may size the control: the window follows.
        std::ifstream in(path.toStdString(), std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " + path.toStdString());
        AutomationShell session(control, [this](int w, int h) { ResizeClient(w, h); });
        PlotFileCommands::AddDirectives(session, control);
        std::ostringstream answers;
        session.Run(in, answers);
    } else {
        PlotFileCommands::Load(control, path.toStdString());
    }
    setWindowTitle("trendix-view - " + QFileInfo(path).fileName());
    view_->update();
}

void ViewWindow::OpenDialog() {
    const QString path = QFileDialog::getOpenFileName(this, "Open a plot", QString(), kOpenFilter);
    if (path.isEmpty()) return;
    try {
        Load(path);
    } catch (const std::exception& e) {
        QMessageBox::warning(this, "Open", QString("Cannot open %1:\n%2").arg(path, e.what()));
    }
}

void ViewWindow::SaveSettingsDialog() {
    QString path =
        QFileDialog::getSaveFileName(this, "Save the settings", QString(), "Settings (*.tset)");
    if (path.isEmpty()) return;
    if (!EndsWith(path, ".tset")) path += ".tset";
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << view_->control().GetSettings();
    if (!out.flush()) QMessageBox::warning(this, "Save Settings", "Cannot write " + path);
}

void ViewWindow::StartDemo(int variables, double stepsPerSecond) {
    if (demo_) demo_->Stop();
    demo_ = std::make_unique<ProcessDemo>(*view_, variables, stepsPerSecond);
    stats_ = std::make_unique<LiveStats>(*view_);
    setWindowTitle("trendix-view - demo");
    demo_->Start();
    stats_->Start();
}

std::string ViewWindow::Stats() const {
    if (!demo_ || !stats_) return std::string();
    return stats_->Report(demo_->Steps(), demo_->Dropped(), demo_->StepsPerSecond(),
                          demo_->Redraws());
}

void ViewWindow::ResizeClient(int width, int height) {
    view_->setPreferredSize(QSize(width, height));
    if (!isVisible()) {
        adjustSize();
        return;
    }
    const QSize frame = size() - view_->size();
    resize(width + frame.width(), height + frame.height());
}

void ViewWindow::ShowPointer(const QString& coordinate) {
    pointer_->setText(QString(coordinate).replace('\n', "  "));
}

// ---------------------------------------------------------------------------------------------
// Event log

std::string ViewWindow::EventLine(int dispid, const QVariantList& args) {
    std::string line = TrendixWidget::eventName(dispid).toStdString();
    for (const QVariant& a : args) {
        line += ' ';
        if (a.typeId() == QMetaType::Bool)
            line += a.toBool() ? "1" : "0";
        else
            line += ValueText::Format(QtVariant::FromQt(a));
    }
    return line;
}

bool ViewWindow::OpenEventLog(const std::string& path) {
    eventLog_.open(path, std::ios::binary | std::ios::trunc);
    return bool(eventLog_);
}

void ViewWindow::LogEvent(int dispid, const QVariantList& args) {
    if (!eventLog_.is_open()) return;
    eventLog_ << EventLine(dispid, args) << '\n';
    eventLog_.flush(); // a test reads the file while the window runs
}

// ---------------------------------------------------------------------------------------------
// Shell on standard input

void ViewWindow::StartShell() {
    CTrendixCtrl& control = view_->control();
    shell_ =
        std::make_unique<AutomationShell>(control, [this](int w, int h) { ResizeClient(w, h); });
    PlotFileCommands::AddDirectives(*shell_, control);
    AddViewDirectives(*shell_);
    input_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    connect(input_.get(), &QSocketNotifier::activated, this, &ViewWindow::ReadShellInput);
}

// `.where` answers the client area on the screen: "= X Y WIDTH HEIGHT".
// `.tool COMMAND` answers the centre of the drawing toolbar's button for a command on the
// screen: "= X Y", or "! no such button" when the bar or the button is not shown.
// `.shapes` answers the drawn shapes and how many are selected: "= COUNT SELECTED".
// `.sheet [TAB [FIELD] | BUTTON]` answers about the open property sheet or edit dialog: its
// caption ("= CAPTION"), or the centre on the screen of a tab, of a field (by its caption) on a
// tab, or of a button such as "Apply" ("= X Y"); "! no sheet" when none is open.
void ViewWindow::AddViewDirectives(AutomationShell& shell) {
    shell.AddDirective("where", [this](const std::vector<std::string>&) {
        const QPoint origin = view_->mapToGlobal(QPoint(0, 0));
        const QSize client = view_->clientSize();
        return "= " + std::to_string(origin.x()) + " " + std::to_string(origin.y()) + " " +
               std::to_string(client.width()) + " " + std::to_string(client.height());
    });
    shell.AddDirective("tool", [this](const std::vector<std::string>& args) -> std::string {
        const int command = args.empty() ? 0 : std::atoi(args[0].c_str());
        QAction* action =
            drawBar_ && drawBar_->isVisible() ? drawBar_->ActionFor(command) : nullptr;
        QWidget* button = action ? drawBar_->widgetForAction(action) : nullptr;
        if (!button) return "! no such button";
        return ScreenCentre(*button, button->rect());
    });
    shell.AddDirective("sheet", LocateInSheet);
    shell.AddDirective("shapes", [this](const std::vector<std::string>&) {
        const CPlotShapes& shapes = view_->control().PlotObjects().Shapes();
        return "= " + std::to_string(shapes.Displays().size()) + " " +
               std::to_string(shapes.Selected().size());
    });
}

void ViewWindow::ReadShellInput() {
    char buffer[4096];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        input_->setEnabled(false); // end of input: the window stays
        return;
    }
    pendingInput_.append(buffer, size_t(n));
    size_t end;
    while ((end = pendingInput_.find('\n')) != std::string::npos) {
        const std::string line = pendingInput_.substr(0, end);
        pendingInput_.erase(0, end + 1);
        for (const std::string& printed : shell_->Execute(line))
            std::cout << printed << '\n';
        std::cout.flush();
        view_->update();
        if (shell_->quitRequested()) QApplication::quit();
    }
}
