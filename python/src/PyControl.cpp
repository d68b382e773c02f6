#include "PyControl.h"

#include "PyValues.h"
#include "platform/com/CallFrame.h"

#include <array>

using com::MemberInfo;
using com::ParamDir;
using com::Variant;
using com::VarType;

namespace {

// Methods with up to this many parameters are called without allocating their arguments.
constexpr size_t kInlineArgs = 8;
// The largest side of a control without a window, in pixels.
constexpr int kMaxSide = 20000;

std::string TypeName(VarType type) {
    return PyValues::PythonTypeName(type);
}

} // namespace

PyControl::PyControl(int width, int height) {
    Resize(width, height);
}

void PyControl::Resize(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        throw py::value_error("the size must be 1 to " + std::to_string(kMaxSide) +
                              " pixels a side, not " + std::to_string(width) + " x " +
                              std::to_string(height));
    if (InWindow())
        throw trendix::Error(trendix::Error::kWrongMode, "a control in a window has its size");
    control_.OnSize(width, height);
}

const MemberInfo& PyControl::Member(const std::string& name) const {
    const MemberInfo* m = typeInfo().Find(name);
    if (!m) throw py::attribute_error("the control has no member named " + name);
    return *m;
}

std::string PyControl::Signature(const MemberInfo& m) {
    if (m.isProperty) return m.name + ": " + TypeName(m.type);
    std::string text = m.name + "(", outputs;
    size_t outCount = 0;
    for (const com::ParamInfo& p : m.params) {
        if (p.dir != ParamDir::Out) {
            if (text.back() != '(') text += ", ";
            text += p.name + ": " + TypeName(p.type);
        }
        if (p.dir != ParamDir::In) {
            outputs += (outputs.empty() ? "" : ", ") + p.name + ": " + TypeName(p.type);
            ++outCount;
        }
    }
    text += ")";
    const bool result = m.type != VarType::Empty;
    if (outCount == 0) return text + (result ? " -> " + TypeName(m.type) : "");
    if (!result && outCount == 1) return text + " -> " + outputs;
    return text + " -> (" + (result ? TypeName(m.type) + ", " : "") + outputs + ")";
}

py::object PyControl::Get(const MemberInfo& property) {
    return PyValues::FromVariant(
        control_.Invoke(property.id, com::InvokeKind::PropertyGet, std::span<Variant>()));
}

void PyControl::Put(const MemberInfo& property, py::handle value) {
    Variant v = PyValues::ToVariant(value, property.type, property.name, "value");
    control_.Invoke(property.id, com::InvokeKind::PropertyPut, std::span<Variant>(&v, 1));
}

py::object PyControl::Call(const MemberInfo& m, const py::args& args) {
    const size_t written = com::CallFrame::WrittenCount(m);
    if (args.size() != written)
        throw py::type_error(Signature(m) + " takes " + std::to_string(written) + " argument" +
                             (written == 1 ? "" : "s") + ", not " + std::to_string(args.size()));
    // Only in-parameters: the values go straight to the member.
    if (written == m.params.size() && written <= kInlineArgs) {
        std::array<Variant, kInlineArgs> values;
        for (size_t i = 0; i < written; ++i)
            values[i] = PyValues::ToVariant(args[i], m.params[i].type, m.name, m.params[i].name);
        const Variant result =
            control_.Invoke(m.id, com::InvokeKind::Method, std::span(values.data(), written));
        return m.type == VarType::Empty ? py::none() : PyValues::FromVariant(result);
    }
    std::vector<Variant> values;
    values.reserve(written);
    size_t next = 0;
    for (const com::ParamInfo& p : m.params)
        if (p.dir != ParamDir::Out)
            values.push_back(PyValues::ToVariant(args[next++], p.type, m.name, p.name));
    com::CallFrame frame(&m);
    frame.Bind(std::move(values));
    const Variant result = control_.Invoke(m.id, com::InvokeKind::Method, frame.args());
    py::list answers;
    if (m.type != VarType::Empty) answers.append(PyValues::FromVariant(result));
    for (const Variant& v : frame.Outputs())
        answers.append(PyValues::FromVariant(v));
    if (answers.empty()) return py::none();
    if (answers.size() == 1) return answers[0];
    return py::tuple(answers);
}

PyMember::PyMember(py::handle owner, const MemberInfo& member) : owner_(owner), member_(member) {}

py::object PyMember::Call(const py::args& args) const {
    py::handle owner = PyWeakref_GetObject(owner_.ptr());
    if (owner.is_none()) {
        PyErr_SetString(PyExc_ReferenceError,
                        (member_.name + "(): its control no longer exists").c_str());
        throw py::error_already_set();
    }
    return owner.cast<PyControl&>().Call(member_, args);
}

std::string PyMember::Doc() const {
    std::string doc = PyControl::Signature(member_) +
                      "\n\nA method of the plotting control, called through its automation "
                      "interface by name.";
    const size_t outputs = member_.params.size() - com::CallFrame::WrittenCount(member_);
    if (outputs) doc += "\nOut parameters are not passed: their values come back after the result.";
    return doc;
}
