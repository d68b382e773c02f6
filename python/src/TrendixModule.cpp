// trendix._trendix: the compiled part of the Python module. The pure-Python part (the package
// trendix) adds the exception class, signatures for help() and documentation.
#include "PyArrays.h"
#include "PyControl.h"
#include "PyValues.h"
#include "PyView.h"

#include "qt/QtPngWriter.h"

#include <trendix/Image.h>

#include <algorithm>

namespace {

// trendix.Error, from the package's pure-Python part; set when the module loads.
py::handle errorClass;

void RaiseError(std::uint32_t hresult, const char* message) {
    const py::object error = py::reinterpret_borrow<py::object>(errorClass)(message, hresult);
    PyErr_SetObject(errorClass.ptr(), error.ptr());
}

// Names of the Python API are the class's own attributes; the control's members are not.
bool IsClassAttribute(py::handle self, py::handle name) {
    return PyObject_HasAttr(reinterpret_cast<PyObject*>(Py_TYPE(self.ptr())), name.ptr()) == 1;
}

py::object GetMember(py::handle self, const std::string& name) {
    PyControl& c = self.cast<PyControl&>();
    const com::MemberInfo& m = c.Member(name);
    if (m.isProperty) return c.Get(m);
    py::object method = py::cast(PyMember(self, m));
    // The names help() and inspect show; a type's own __name__ cannot be a property.
    method.attr("__name__") = m.name;
    method.attr("__qualname__") = "Control." + m.name;
    // Remembered under the spelling used, so that the next look-up finds it at once.
    if (PyObject_GenericSetAttr(self.ptr(), py::str(name).ptr(), method.ptr()) != 0)
        throw py::error_already_set();
    return method;
}

void SetMember(py::handle self, py::str name, py::handle value) {
    if (IsClassAttribute(self, name)) {
        if (PyObject_GenericSetAttr(self.ptr(), name.ptr(), value.ptr()) != 0)
            throw py::error_already_set();
        return;
    }
    PyControl& c = self.cast<PyControl&>();
    const com::MemberInfo& m = c.Member(name);
    if (!m.isProperty)
        throw py::attribute_error(m.name + " is a method of the control, not a property");
    c.Put(m, value);
}

py::list MemberNames(py::handle self) {
    py::list names = py::reinterpret_steal<py::list>(
        PyObject_Dir(reinterpret_cast<PyObject*>(Py_TYPE(self.ptr()))));
    if (!names) throw py::error_already_set();
    for (const com::MemberInfo& m : self.cast<PyControl&>().typeInfo().members())
        names.append(m.name);
    return names;
}

py::bytes Png(PyControl& c, int width, int height) {
    PyView::EnsureApplication(false);
    QImage image(width > 0 ? width : c.plot().width(), height > 0 ? height : c.plot().height(),
                 QImage::Format_RGB32);
    trendix::render(c.plot(), image);
    const QByteArray bytes = QtPngWriter::Encode(std::move(image));
    return py::bytes(bytes.constData(), size_t(bytes.size()));
}

void Render(PyControl& c, const std::string& path, int width, int height) {
    PyView::EnsureApplication(false);
    trendix::saveImage(c.plot(), path, width > 0 ? width : c.plot().width(),
                       height > 0 ? height : c.plot().height());
}

} // namespace

PYBIND11_MODULE(_trendix, m) {
    m.doc() = "The compiled part of trendix: the plotting control, its methods and its window.";
    errorClass = py::object(py::module_::import("trendix._errors").attr("Error")).release();
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const com::DispatchError& e) {
            RaiseError(e.hr(), e.what());
        } catch (const trendix::Error& e) {
            RaiseError(e.hresult(), e.what());
        }
    });

    py::class_<PyMember>(m, "Method", py::dynamic_attr())
        .def("__call__", &PyMember::Call)
        .def_property_readonly("__doc__", &PyMember::Doc)
        .def_property_readonly("parameters",
                               [](const PyMember& f) {
                                   py::list params;
                                   for (const com::ParamInfo& p : f.info().params)
                                       params.append(
                                           py::make_tuple(p.name, PyValues::PythonTypeName(p.type),
                                                          p.dir == com::ParamDir::In    ? "in"
                                                          : p.dir == com::ParamDir::Out ? "out"
                                                                                        : "inout"));
                                   return params;
                               })
        .def_property_readonly(
            "returns",
            [](const PyMember& f) {
                return f.info().type == com::VarType::Empty
                           ? py::object(py::none())
                           : py::object(py::str(PyValues::PythonTypeName(f.info().type)));
            })
        // A descriptor without __set__: help() and inspect take it for a routine.
        .def("__get__", [](py::object self, py::handle, py::handle) { return self; })
        .def("__repr__",
             [](const PyMember& f) { return "<method " + PyControl::Signature(f.info()) + ">"; });

    py::class_<PyControl>(m, "Control", py::dynamic_attr())
        .def(py::init<int, int>(), py::arg("width") = 400, py::arg("height") = 310)
        .def("__getattr__", &GetMember)
        .def("__setattr__", &SetMember)
        .def("__dir__", &MemberNames)
        .def_property(
            "settings", [](PyControl& c) { return PyValues::Str(c.plot().settings()); },
            [](PyControl& c, py::handle text) {
                c.plot().setSettings(PyValues::Utf8(text, "settings", "value"));
            })
        .def(
            "render",
            [](PyControl& c, const std::string& path, int width, int height) {
                Render(c, path, width, height);
            },
            py::arg("path"), py::arg("width") = 0, py::arg("height") = 0)
        .def("_repr_png_", [](PyControl& c) { return Png(c, 0, 0); })
        .def("png", &Png, py::arg("width") = 0, py::arg("height") = 0)
        .def(
            "set_series",
            [](PyControl& c, int variable, py::handle x, py::handle y) {
                PyArrays::SetSeries(c.plot(), variable, x, y);
            },
            py::arg("var"), py::arg("x"), py::arg("y"))
        .def(
            "append_time_data",
            [](PyControl& c, py::handle t, py::handle values, int first) {
                PyArrays::AppendTimeData(c.plot(), t, values, first);
            },
            py::arg("t"), py::arg("values"), py::arg("first_var") = 1)
        .def(
            "get_series",
            [](PyControl& c, int variable) { return PyArrays::GetSeries(c.plot(), variable); },
            py::arg("var"))
        .def(
            "connect",
            [](PyControl& c, py::object handler) { return c.events().Connect(std::move(handler)); },
            py::arg("handler"))
        .def(
            "disconnect", [](PyControl& c, int cookie) { c.events().Disconnect(cookie); },
            py::arg("cookie"))
        .def(
            "on",
            [](PyControl& c, const std::string& event, py::object callable) {
                c.events().On(event, callable);
                return callable;
            },
            py::arg("event"), py::arg("callable"))
        .def(
            "off",
            [](PyControl& c, const std::string& event, py::object callable) {
                c.events().Off(event, callable);
            },
            py::arg("event"), py::arg("callable") = py::none())
        .def_property_readonly("events",
                               [](PyControl& c) {
                                   py::list names;
                                   for (const com::MemberInfo& e :
                                        c.control().GetEventTypeInfo()->members())
                                       names.append(e.name);
                                   return names;
                               })
        .def_property_readonly("width", [](PyControl& c) { return c.plot().width(); })
        .def_property_readonly("height", [](PyControl& c) { return c.plot().height(); })
        .def("resize", &PyControl::Resize, py::arg("width"), py::arg("height"));

    py::class_<PyView>(m, "View")
        .def(py::init<py::object, int, int, const std::string&>(), py::arg("control"),
             py::arg("width") = 800, py::arg("height") = 500, py::arg("title") = "Trendix")
        .def("show", &PyView::Show)
        .def("close", &PyView::Close)
        .def_property_readonly("is_open", &PyView::IsOpen)
        .def_property_readonly("width", &PyView::Width)
        .def_property_readonly("height", &PyView::Height)
        .def("process_events", &PyView::ProcessEvents, py::arg("milliseconds") = 0)
        .def("exec", &PyView::Exec);
}
