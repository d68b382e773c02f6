#pragma once
#include "ViewOptions.h"

#include <QMainWindow>
#include <QString>
#include <QVariantList>

#include <fstream>
#include <memory>
#include <string>

class AutomationShell;
class CDrawBarCtrl;
class QAction;
class LiveStats;
class ProcessDemo;
class QLabel;
class QSocketNotifier;
class TrendixWidget;

// The main window of trendix-view: one TrendixWidget, a File menu (Open, Save Settings, Demo,
// Quit) and a status bar with the control's menu prompts and pointer location.
class ViewWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ViewWindow(const ViewOptions& options);
    ~ViewWindow() override;

    TrendixWidget& view() { return *view_; }
    // Loads a plot into a cleared control: .tset settings, .tsh shell sessions, and scripts and
    // input files (.ply, .plx and others) as InputFile. Throws what the loaders throw.
    void Load(const QString& path);
    void StartDemo(int variables, double stepsPerSecond);
    // Writes every event from now on into path; false when it cannot be opened.
    bool OpenEventLog(const std::string& path);
    // Reads automation-shell commands from standard input while the window runs; the answers
    // go to standard output.
    void StartShell();
    // The live-update figures of the demo (empty without a demo).
    std::string Stats() const;
    // The control's client area becomes width x height; the window grows or shrinks around it.
    void ResizeClient(int width, int height);

    // Shows or hides the drawing toolbar above the plot (made when first shown).
    void ShowDrawingToolbar(bool on);
    CDrawBarCtrl* DrawingToolbar() const { return drawBar_; }

    // "Name arg1 arg2 ...": booleans as 1 and 0, strings quoted with \n escapes.
    static std::string EventLine(int dispid, const QVariantList& args);

private:
    void BuildMenus();
    void OpenDialog();
    void SaveSettingsDialog();
    void LogEvent(int dispid, const QVariantList& args);
    void ShowPointer(const QString& coordinate);
    void ReadShellInput();
    void AddViewDirectives(AutomationShell& shell);

    TrendixWidget* view_;
    CDrawBarCtrl* drawBar_ = nullptr;
    QAction* drawBarAction_ = nullptr;
    QAction* previewAction_ = nullptr;
    QLabel* pointer_;
    ViewOptions options_;
    std::unique_ptr<ProcessDemo> demo_;
    std::unique_ptr<LiveStats> stats_;
    std::ofstream eventLog_;
    std::unique_ptr<AutomationShell> shell_;
    std::unique_ptr<QSocketNotifier> input_;
    std::string pendingInput_;
};
