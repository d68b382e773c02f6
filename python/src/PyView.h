#pragma once
#include <pybind11/pybind11.h>

#include <memory>
#include <string>

namespace py = pybind11;

class PyControl;
class TrendixWidget;

// A window showing one control: a TrendixWidget hosting the control itself, so that what the
// script does to the control shows in the window and the user's input reaches the control's
// events. The control goes back to drawing without a window when the view goes away.
class PyView {
public:
    PyView(py::object control, int width, int height, const std::string& title);
    ~PyView();
    PyView(const PyView&) = delete;
    PyView& operator=(const PyView&) = delete;

    // The Qt application, made when there is none (offscreen without a display). Windows need
    // a widgets application; pictures any.
    static void EnsureApplication(bool windows);

    void Show();
    void Close();
    bool IsOpen() const; // shown and not closed by the user or the script
    // Shows what the script changed and handles the events waiting, for up to milliseconds.
    void ProcessEvents(int milliseconds);
    // Runs until the window is closed (at once when it is not open).
    void Exec();
    int Width() const;
    int Height() const;

private:
    TrendixWidget& Widget() const;

    py::object owner_; // the Python control, kept alive while the window shows it
    std::unique_ptr<TrendixWidget> widget_;
};
