#pragma once
#include <trendix/Plot.h>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace py = pybind11;

// numpy data in and out of a plot through its typed front: whole arrays at a time, in double
// precision, without work per element in Python. Arrays of other real types are converted;
// arrays that cannot be converted safely (complex, text, objects) or have the wrong shape are
// a TypeError or ValueError naming the member and the parameter.
class PyArrays {
public:
    // Y variable `variable` and its X variable take exactly x and y (a plot that is not live).
    static void SetSeries(trendix::Plot& plot, int variable, py::handle x, py::handle y);
    // Samples of a live plot: times of shape (n,) and values of shape (n, k) (or (n,) for
    // k = 1), row r holding variables first..first+k-1 at times[r]. A single time with values
    // of shape (k,) is one time step.
    static void AppendTimeData(trendix::Plot& plot, py::handle times, py::handle values,
                               int firstVariable);
    // (x, y) of Y variable `variable`: its X variable's samples and its own; missing as NaN.
    static py::tuple GetSeries(trendix::Plot& plot, int variable);

private:
    using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;
    // value as a C-ordered array of doubles with minDims to maxDims dimensions, copied only
    // when it is not one already.
    static Doubles ToDoubles(py::handle value, const char* member, const char* parameter,
                             int minDims, int maxDims);
};
