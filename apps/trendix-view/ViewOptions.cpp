#include "ViewOptions.h"

#include "RenderCommand.h"

#include <charconv>

namespace {

template <class T>
bool ReadNumber(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

} // namespace

const char* ViewOptions::Usage() {
    return "usage: trendix-view [FILE] [--demo] [--demo-vars N] [--demo-rate STEPS_PER_S]\n"
           "                    [--event-log FILE] [--quit-after MS] [--size WxH] [--stats]"
           " [--shell] [--toolbar]\n";
}

ViewOptions ViewOptions::Parse(const std::vector<std::string>& args, std::string& error) {
    ViewOptions o;
    error.clear();
    for (size_t i = 0; i < args.size() && error.empty(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const auto value = [&]() -> const std::string& {
            static const std::string none;
            if (!hasValue) {
                error = a + " needs a value";
                return none;
            }
            return args[++i];
        };
        if (a == "--demo") {
            o.demo = true;
        } else if (a == "--stats") {
            o.stats = true;
        } else if (a == "--shell") {
            o.shell = true;
        } else if (a == "--toolbar") {
            o.toolbar = true;
        } else if (a == "--demo-vars") {
            const std::string& v = value();
            if (error.empty() && (!ReadNumber(v, o.demoVariables) || o.demoVariables < 1 ||
                                  o.demoVariables > kMaxDemoVariables))
                error = "--demo-vars takes a number from 1 to 64";
        } else if (a == "--demo-rate") {
            const std::string& v = value();
            if (error.empty() &&
                (!ReadNumber(v, o.demoRate) || !(o.demoRate > 0) || o.demoRate > kMaxDemoRate))
                error = "--demo-rate takes a number of steps per second above 0, at most 100000";
        } else if (a == "--event-log") {
            o.eventLog = value();
        } else if (a == "--quit-after") {
            const std::string& v = value();
            if (error.empty() && (!ReadNumber(v, o.quitAfterMs) || o.quitAfterMs < 0))
                error = "--quit-after takes milliseconds";
        } else if (a == "--size") {
            const std::string& v = value();
            if (error.empty() && !RenderCommand::ParseSize(v, o.width, o.height))
                error = "--size takes WxH";
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + a;
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            error = "only one FILE";
        }
    }
    if (error.empty() && o.demo && !o.file.empty()) error = "--demo and a FILE exclude each other";
    return o;
}
