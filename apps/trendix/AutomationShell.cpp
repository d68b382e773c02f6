#include "AutomationShell.h"

#include "ShellCommand.h"
#include "ValueText.h"
#include "platform/com/CallFrame.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/gdi/GdiTypes.h"

#include <cctype>
#include <charconv>
#include <istream>
#include <new>
#include <ostream>

using com::CallFrame;
using com::DISPID;
using com::InvokeKind;
using com::MemberInfo;
using com::Variant;

namespace {

// What a failure that is not an automation error reports (E_FAIL).
constexpr com::HRESULT kFailure = 0x80004005u;

std::string ErrorLine(com::HRESULT hr, const std::string& description) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line = "error 0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        line += kDigits[(hr >> shift) & 0xF];
    if (!description.empty()) line += " " + description;
    return line;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string EventLine(const com::TypeInfo* events, DISPID id, std::span<const Variant> args) {
    const MemberInfo* m = events ? events->Find(id) : nullptr;
    std::string line = "event " + (m ? m->name : std::to_string(id)) + "(";
    for (size_t i = 0; i < args.size(); ++i) {
        if (i) line += ", ";
        line += ValueText::Format(args[i]);
    }
    return line + ")";
}

int ReadInt(const std::string& word, const char* usage) {
    int value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end || word.empty()) throw SyntaxError(usage);
    return value;
}

} // namespace

class AutomationShell::EventSink : public com::IEventSink {
public:
    explicit EventSink(AutomationShell& shell) : shell_(shell) {}
    void Invoke(DISPID id, std::span<const Variant> args) override { shell_.OnEvent(id, args); }

private:
    AutomationShell& shell_;
};

AutomationShell::AutomationShell(com::IDispatch& control, std::function<void(int, int)> resize)
    : control_(control), resize_(std::move(resize)), sink_(std::make_unique<EventSink>(*this)) {
    AddBuiltInDirectives();
    if (control_.GetEventTypeInfo() && (connection_ = control_.GetConnectionPoint()))
        cookie_ = connection_->Advise(sink_.get());
}

AutomationShell::~AutomationShell() {
    if (connection_) connection_->Unadvise(cookie_);
}

void AutomationShell::AddDirective(std::string name, Directive handler) {
    if (!name.empty() && name[0] == '.') name.erase(0, 1);
    directives_[Lower(std::move(name))] = std::move(handler);
}

void AutomationShell::AddBuiltInDirectives() {
    AddDirective("events", [this](const std::vector<std::string>& words) {
        const std::string state = words.size() == 1 ? Lower(words[0]) : std::string();
        if (state != "on" && state != "off") throw SyntaxError("usage: .events on|off");
        showEvents_ = state == "on";
        return std::string("ok");
    });
    AddDirective("size", [this](const std::vector<std::string>& words) {
        static constexpr char kUsage[] = "usage: .size W H";
        if (words.size() != 2) throw SyntaxError(kUsage);
        const int width = ReadInt(words[0], kUsage), height = ReadInt(words[1], kUsage);
        if (width > gdi::kMaxSurfaceSide || height > gdi::kMaxSurfaceSide)
            throw com::DispatchError::InvalidArg(gdi::kMaxSurfaceSideText);
        if (resize_) resize_(width, height);
        return std::string("ok");
    });
    AddDirective("quit", [this](const std::vector<std::string>& words) {
        if (!words.empty()) throw SyntaxError("usage: .quit");
        quit_ = true;
        return std::string("ok");
    });
}

std::vector<std::string> AutomationShell::Execute(const std::string& line) {
    std::string result = Perform(line);
    std::vector<std::string> lines;
    lines.swap(pending_);
    if (!result.empty()) lines.push_back(std::move(result));
    return lines;
}

int AutomationShell::Run(std::istream& in, std::ostream& out) {
    quit_ = false;
    std::string line;
    while (!quit_ && std::getline(in, line)) {
        for (const std::string& printed : Execute(line))
            out << printed << '\n';
        out.flush(); // a host reading the other end of a pipe waits for each answer
    }
    return 0;
}

// Every failure becomes the command's result line; the shell goes on.
std::string AutomationShell::Perform(const std::string& line) {
    try {
        return Dispatch(ShellCommand::Parse(line));
    } catch (const SyntaxError& e) {
        return std::string("error syntax ") + e.what();
    } catch (const com::DispatchError& e) {
        return ErrorLine(e.hr(), e.description());
    } catch (const std::bad_alloc&) {
        return ErrorLine(com::E_OUTOFMEMORY, "Out of memory");
    } catch (const std::exception& e) {
        return ErrorLine(kFailure, e.what());
    }
}

std::string AutomationShell::Dispatch(const ShellCommand& c) {
    switch (c.kind) {
    case ShellCommand::Kind::Nothing:
        return std::string();
    case ShellCommand::Kind::Directive:
        return RunDirective(c);
    case ShellCommand::Kind::Put:
        return Put(c);
    case ShellCommand::Kind::Get:
        return Get(c);
    case ShellCommand::Kind::Call:
        return Call(c);
    }
    return std::string();
}

std::string AutomationShell::RunDirective(const ShellCommand& c) {
    const auto it = directives_.find(Lower(c.name));
    if (it == directives_.end()) throw SyntaxError("unknown directive ." + c.name);
    std::string result = it->second(c.words);
    return result.empty() ? "ok" : result;
}

std::string AutomationShell::Put(const ShellCommand& c) {
    const DISPID id = control_.GetIDOfName(c.name);
    CallFrame frame(control_.GetTypeInfo().Find(id));
    frame.Assign(c.values);
    return Invoke(id, InvokeKind::PropertyPut, frame);
}

// A name alone reads a property; a method whose parameters are all out-only is called, as
// the user has nothing to write for it.
std::string AutomationShell::Get(const ShellCommand& c) {
    const DISPID id = control_.GetIDOfName(c.name);
    CallFrame frame(control_.GetTypeInfo().Find(id));
    if (!frame.TakesOnlyOutputs()) return Invoke(id, InvokeKind::PropertyGet, frame);
    frame.Bind({});
    return Invoke(id, InvokeKind::Method, frame);
}

std::string AutomationShell::Call(const ShellCommand& c) {
    const DISPID id = control_.GetIDOfName(c.name);
    CallFrame frame(control_.GetTypeInfo().Find(id));
    frame.Bind(c.values);
    return Invoke(id, InvokeKind::Method, frame);
}

std::string AutomationShell::Invoke(DISPID id, InvokeKind kind, CallFrame& frame) {
    const Variant result = control_.Invoke(id, kind, frame.args());
    std::string line = frame.HasResult(kind, result) ? "= " + ValueText::Format(result) : "ok";
    const std::vector<Variant> outputs = frame.Outputs();
    if (!outputs.empty()) line += " |";
    // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict overlap inside
    // " " + std::string.
    for (const Variant& v : outputs) {
        line += ' ';
        line += ValueText::Format(v);
    }
    return line;
}

void AutomationShell::OnEvent(DISPID id, std::span<const Variant> args) {
    if (showEvents_) pending_.push_back(EventLine(control_.GetEventTypeInfo(), id, args));
}
