#include "PyArrays.h"

#include <span>
#include <string>

namespace {

std::string ShapeText(const py::array& a) {
    std::string text = "(";
    for (py::ssize_t i = 0; i < a.ndim(); ++i)
        text += (i ? ", " : "") + std::to_string(a.shape(i));
    return text + (a.ndim() == 1 ? ",)" : ")");
}

std::span<const double>
Span(const py::array_t<double, py::array::c_style | py::array::forcecast>& a) {
    return {a.data(), size_t(a.size())};
}

} // namespace

PyArrays::Doubles PyArrays::ToDoubles(py::handle value, const char* member, const char* parameter,
                                      int minDims, int maxDims) {
    const std::string where = std::string(member) + "(): " + parameter;
    py::array a;
    try {
        a = py::array::ensure(value);
    } catch (const py::error_already_set&) {
    }
    if (!a) throw py::type_error(where + " must be an array of numbers");
    // Real numbers of any size convert; complex numbers, text and objects do not.
    const char kind = a.dtype().kind();
    if (kind != 'f' && kind != 'i' && kind != 'u' && kind != 'b')
        throw py::type_error(where + " has dtype " + std::string(py::str(a.dtype())) +
                             ", which does not convert safely to float64");
    if (a.ndim() < minDims || a.ndim() > maxDims)
        throw py::value_error(where + " has shape " + ShapeText(a) + "; it must have " +
                              (minDims == maxDims
                                   ? std::to_string(minDims)
                                   : std::to_string(minDims) + " to " + std::to_string(maxDims)) +
                              " dimension" + (maxDims == 1 ? "" : "s"));
    Doubles d = Doubles::ensure(a);
    if (!d) throw py::error_already_set();
    return d;
}

void PyArrays::SetSeries(trendix::Plot& plot, int variable, py::handle x, py::handle y) {
    const Doubles xs = ToDoubles(x, "set_series", "x", 1, 1);
    const Doubles ys = ToDoubles(y, "set_series", "y", 1, 1);
    if (xs.size() != ys.size())
        throw py::value_error("set_series(): x has " + std::to_string(xs.size()) +
                              " values and y " + std::to_string(ys.size()));
    plot.setSeries(variable, Span(xs), Span(ys));
}

void PyArrays::AppendTimeData(trendix::Plot& plot, py::handle times, py::handle values,
                              int firstVariable) {
    const Doubles t = ToDoubles(times, "append_time_data", "t", 0, 1);
    const Doubles v = ToDoubles(values, "append_time_data", "values", t.ndim() + 0, 2);
    const py::ssize_t steps = t.ndim() == 0 ? 1 : t.shape(0);
    if (t.ndim() == 0 && v.ndim() != 1)
        throw py::value_error("append_time_data(): one time takes values of shape (k,), not " +
                              ShapeText(v));
    if (t.ndim() == 1 && v.shape(0) != steps)
        throw py::value_error("append_time_data(): values has " + std::to_string(v.shape(0)) +
                              " rows for " + std::to_string(steps) + " times");
    plot.appendBlock(Span(t), Span(v), firstVariable);
}

py::tuple PyArrays::GetSeries(trendix::Plot& plot, int variable) {
    const int xVariable = plot.xVariableOf(variable);
    py::array_t<double> x(py::ssize_t(plot.xLength(xVariable)));
    py::array_t<double> y(py::ssize_t(plot.yLength(variable)));
    plot.copyXValues(xVariable, std::span<double>(x.mutable_data(), size_t(x.size())));
    plot.copyYValues(variable, std::span<double>(y.mutable_data(), size_t(y.size())));
    return py::make_tuple(x, y);
}
