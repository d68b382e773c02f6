#pragma once
#include "platform/com/CallFrame.h"
#include "platform/com/IDispatch.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct ShellCommand;

// Drives a control through its dispatch interface by name, one input line at a time, and
// prints one result line per command, preceded by the events the control fired meanwhile.
class AutomationShell {
public:
    using Directive = std::function<std::string(const std::vector<std::string>&)>;

    // resize: what `.size W H` calls (a size message to the control's window).
    AutomationShell(com::IDispatch& control, std::function<void(int, int)> resize);
    ~AutomationShell();
    AutomationShell(const AutomationShell&) = delete;
    AutomationShell& operator=(const AutomationShell&) = delete;

    // `.name word ...` calls handler with the words (quoted words unescaped) and prints what it
    // returns ("ok" when that is empty). Replaces a directive of the same name, built-ins too.
    void AddDirective(std::string name, Directive handler);
    std::vector<std::string> Execute(const std::string& line); // lines printed for one input line
    int Run(std::istream& in, std::ostream& out);              // 0 at end of input or .quit

    bool eventsShown() const { return showEvents_; }
    bool quitRequested() const { return quit_; }

private:
    class EventSink;

    std::string Perform(const std::string& line);
    std::string Dispatch(const ShellCommand& c);
    std::string RunDirective(const ShellCommand& c);
    std::string Put(const ShellCommand& c);
    std::string Get(const ShellCommand& c);
    std::string Call(const ShellCommand& c);
    std::string Invoke(com::DISPID id, com::InvokeKind kind, com::CallFrame& frame);
    void AddBuiltInDirectives();
    void OnEvent(com::DISPID id, std::span<const com::Variant> args);

    com::IDispatch& control_;
    std::function<void(int, int)> resize_;
    std::map<std::string, Directive> directives_; // by lower-case name
    std::unique_ptr<EventSink> sink_;
    com::ConnectionPoint* connection_ = nullptr;
    std::uint32_t cookie_ = 0;
    std::vector<std::string> pending_; // event lines not printed yet
    bool showEvents_ = true;
    bool quit_ = false;
};
