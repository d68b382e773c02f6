#pragma once
#include "platform/com/TypeInfo.h"

#include <pybind11/pybind11.h>

#include <string>

namespace py = pybind11;

// Python values in and out of automation values. Every value a member is given is checked
// here against the parameter's declared type, so that a wrong one is a TypeError (or an
// OverflowError) naming the member and the parameter, before the control sees it.
class PyValues {
public:
    // value for a parameter of type `type`; member and parameter name the place in errors.
    static com::Variant ToVariant(py::handle value, com::VarType type, const std::string& member,
                                  const std::string& parameter);
    static py::object FromVariant(const com::Variant& value);
    // Text for the control: UTF-8 of a str (lone surrogates pass as they are and become
    // U+FFFD inside), or the bytes of a bytes object as they are.
    static std::string Utf8(py::handle value, const std::string& member,
                            const std::string& parameter);
    static py::str Str(const std::string& utf8); // malformed sequences become U+FFFD
    // The name Python users read for a declared type: "int", "float", "str", ...
    static const char* PythonTypeName(com::VarType type);
};
