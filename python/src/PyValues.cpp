#include "PyValues.h"

#include "platform/com/DispatchError.h"

#include <pybind11/numpy.h>

#include <cmath>
#include <cstdint>
#include <limits>

using com::Variant;
using com::VarType;

namespace {

[[noreturn]] void WrongType(py::handle value, VarType type, const std::string& member,
                            const std::string& parameter) {
    throw py::type_error(member + "(): parameter " + parameter + " takes " +
                         PyValues::PythonTypeName(type) + ", not " +
                         std::string(py::str(py::type::handle_of(value).attr("__name__"))));
}

bool IsInteger(py::handle value) {
    return PyLong_Check(value.ptr()) || PyIndex_Check(value.ptr());
}

bool IsReal(py::handle value) {
    return PyFloat_Check(value.ptr()) || IsInteger(value) ||
           (!PyUnicode_Check(value.ptr()) && !PyBytes_Check(value.ptr()) &&
            PyObject_HasAttrString(value.ptr(), "__float__"));
}

// An integer parameter takes whole numbers: ints, numpy integers, and reals without a
// fraction.
template <class Int>
Int WholeNumber(py::handle value, VarType type, const std::string& member,
                const std::string& parameter) {
    long long n = 0;
    if (PyLong_CheckExact(value.ptr()) || IsInteger(value)) {
        int overflow = 0;
        const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
        if (!index) throw py::error_already_set();
        n = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
        if (overflow)
            n = overflow > 0 ? std::numeric_limits<long long>::max()
                             : std::numeric_limits<long long>::min();
    } else if (IsReal(value)) {
        const double d = PyFloat_AsDouble(value.ptr());
        if (d == -1.0 && PyErr_Occurred()) throw py::error_already_set();
        if (!std::isfinite(d) || d != std::trunc(d))
            throw py::type_error(member + "(): parameter " + parameter +
                                 " takes a whole number, not " + std::string(py::repr(value)));
        n = std::fabs(d) < 9e18 ? static_cast<long long>(d) : std::numeric_limits<long long>::max();
    } else {
        WrongType(value, type, member, parameter);
    }
    if (n < std::numeric_limits<Int>::min() || n > std::numeric_limits<Int>::max()) {
        const std::string message = member + "(): parameter " + parameter + " = " +
                                    std::string(py::repr(value)) + " is out of range " +
                                    std::to_string(std::numeric_limits<Int>::min()) + ".." +
                                    std::to_string(std::numeric_limits<Int>::max());
        PyErr_SetString(PyExc_OverflowError, message.c_str());
        throw py::error_already_set();
    }
    return static_cast<Int>(n);
}

double Real(py::handle value, VarType type, const std::string& member,
            const std::string& parameter) {
    if (PyFloat_CheckExact(value.ptr())) return PyFloat_AS_DOUBLE(value.ptr());
    if (!IsReal(value)) WrongType(value, type, member, parameter);
    const double d = PyFloat_AsDouble(value.ptr());
    if (d == -1.0 && PyErr_Occurred()) throw py::error_already_set();
    return d;
}

// A vector or a matrix of samples (rows of samples, a column per variable), as singles.
com::FloatArray Samples(py::handle value, VarType type, const std::string& member,
                        const std::string& parameter) {
    py::array a;
    try {
        a = py::array::ensure(value);
    } catch (const py::error_already_set&) {
    }
    if (!a || (a.dtype().kind() != 'f' && a.dtype().kind() != 'i' && a.dtype().kind() != 'u'))
        WrongType(value, type, member, parameter);
    if (a.ndim() != 1 && a.ndim() != 2)
        throw py::type_error(member + "(): parameter " + parameter +
                             " takes one or two dimensions, not " + std::to_string(a.ndim()));
    const auto f = py::array_t<float, py::array::c_style | py::array::forcecast>::ensure(a);
    if (!f) throw py::error_already_set();
    com::FloatArray out;
    if (f.ndim() == 1) {
        out = com::FloatArray::Vector(std::vector<float>(f.data(), f.data() + f.size()));
    } else {
        out = com::FloatArray::Matrix(std::uint32_t(f.shape(0)), std::uint32_t(f.shape(1)));
        std::copy(f.data(), f.data() + f.size(), out.data.begin());
    }
    return out;
}

Variant AnyValue(py::handle value, const std::string& member, const std::string& parameter) {
    if (value.is_none()) return Variant();
    if (PyBool_Check(value.ptr())) return Variant::Bool(value.ptr() == Py_True);
    if (PyUnicode_Check(value.ptr()) || PyBytes_Check(value.ptr()))
        return Variant::Str(PyValues::Utf8(value, member, parameter));
    if (IsInteger(value)) {
        const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
        int overflow = 0;
        const long long n = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
        if (!overflow && n >= INT32_MIN && n <= INT32_MAX) return Variant::I4(std::int32_t(n));
        return Variant::R8(PyFloat_AsDouble(index.ptr()));
    }
    if (IsReal(value)) return Variant::R8(Real(value, VarType::R8, member, parameter));
    return Variant::Array(Samples(value, VarType::Variant, member, parameter));
}

} // namespace

const char* PyValues::PythonTypeName(VarType type) {
    switch (type) {
    case VarType::I2:
    case VarType::I4:
        return "int";
    case VarType::R4:
    case VarType::R8:
        return "float";
    case VarType::BStr:
        return "str";
    case VarType::Bool:
        return "bool";
    case VarType::ArrayR4:
        return "an array of floats";
    case VarType::Unknown:
        return "None";
    case VarType::Variant:
        return "any value";
    default:
        return "nothing";
    }
}

std::string PyValues::Utf8(py::handle value, const std::string& member,
                           const std::string& parameter) {
    if (PyBytes_Check(value.ptr()))
        return std::string(PyBytes_AS_STRING(value.ptr()), size_t(PyBytes_GET_SIZE(value.ptr())));
    if (!PyUnicode_Check(value.ptr())) WrongType(value, VarType::BStr, member, parameter);
    Py_ssize_t size = 0;
    if (const char* utf8 = PyUnicode_AsUTF8AndSize(value.ptr(), &size))
        return std::string(utf8, size_t(size));
    // Lone surrogates (file names decoded with surrogateescape): their bytes go as they are.
    PyErr_Clear();
    const py::object bytes = py::reinterpret_steal<py::object>(
        PyUnicode_AsEncodedString(value.ptr(), "utf-8", "surrogatepass"));
    if (!bytes) throw py::error_already_set();
    return std::string(PyBytes_AS_STRING(bytes.ptr()), size_t(PyBytes_GET_SIZE(bytes.ptr())));
}

py::str PyValues::Str(const std::string& utf8) {
    PyObject* s = PyUnicode_DecodeUTF8(utf8.data(), Py_ssize_t(utf8.size()), "replace");
    if (!s) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(s);
}

Variant PyValues::ToVariant(py::handle value, VarType type, const std::string& member,
                            const std::string& parameter) {
    switch (type) {
    case VarType::I2:
        return Variant::I2(WholeNumber<std::int16_t>(value, type, member, parameter));
    case VarType::I4:
        return Variant::I4(WholeNumber<std::int32_t>(value, type, member, parameter));
    case VarType::R4:
    case VarType::R8:
        return Variant::R8(Real(value, type, member, parameter));
    case VarType::Bool:
        if (PyBool_Check(value.ptr()) || IsInteger(value) || IsReal(value))
            return Variant::Bool(PyObject_IsTrue(value.ptr()) == 1);
        WrongType(value, type, member, parameter);
    case VarType::BStr:
        return Variant::Str(Utf8(value, member, parameter));
    case VarType::ArrayR4:
        return Variant::Array(Samples(value, type, member, parameter));
    case VarType::Unknown:
        // Host objects do not cross from Python; None clears the member.
        if (value.is_none()) return Variant::Object(nullptr);
        WrongType(value, type, member, parameter);
    default:
        return AnyValue(value, member, parameter);
    }
}

py::object PyValues::FromVariant(const Variant& value) {
    if (value.isRef()) return FromVariant(*value.ref());
    switch (value.type()) {
    case VarType::I2:
        return py::int_(value.i2());
    case VarType::I4:
        return py::int_(value.i4());
    case VarType::R4:
        return py::float_(double(value.r4()));
    case VarType::R8:
        return py::float_(value.r8());
    case VarType::Bool:
        return py::bool_(value.boolean());
    case VarType::BStr:
        return Str(value.narrow());
    case VarType::ArrayR4: {
        const com::FloatArray& a = value.array();
        std::vector<py::ssize_t> shape{py::ssize_t(a.count1)};
        if (a.dims == 2) shape.push_back(py::ssize_t(a.count2));
        return py::array_t<float>(shape, a.data.data());
    }
    default:
        return py::none();
    }
}
