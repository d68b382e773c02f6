#include "PropertySetCommands.h"

#include "AutomationShell.h"
#include "ValueText.h"
#include "control/TrendixCtrl.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

// A property set is a few hundred bytes; a bigger file is not one and is not read whole.
constexpr std::uintmax_t kLargestPropertySet = 16u << 20;

bool IsBinaryName(const std::string& path) {
    const std::string end = ".bin";
    return path.size() >= end.size() &&
           path.compare(path.size() - end.size(), end.size(), end) == 0;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw std::runtime_error("cannot read " + path);
    if (std::uintmax_t(size) > kLargestPropertySet)
        throw std::runtime_error(path + " is too large to be a property set");
    in.seekg(0);
    std::string data(size_t(size), '\0');
    if (!in.read(data.data(), size)) throw std::runtime_error("cannot read " + path);
    return data;
}

} // namespace

void PropertySetCommands::AddDirectives(AutomationShell& shell, CTrendixCtrl& control) {
    shell.AddDirective("save", [&control](const std::vector<std::string>& words) {
        if (words.size() != 1) throw SyntaxError("usage: .save FILE");
        Save(control, words[0]);
        return std::string("ok");
    });
    shell.AddDirective("restore", [&control](const std::vector<std::string>& words) {
        if (words.size() != 1) throw SyntaxError("usage: .restore FILE");
        Restore(control, words[0]);
        return std::string("ok");
    });
}

void PropertySetCommands::Save(CTrendixCtrl& control, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    if (IsBinaryName(path)) {
        const std::vector<std::uint8_t> bytes = control.SaveBinary();
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    } else {
        out << control.SaveText();
    }
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

void PropertySetCommands::Restore(CTrendixCtrl& control, const std::string& path) {
    const std::string data = ReadWhole(path);
    if (IsBinaryName(path))
        control.LoadBinary(
            std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    else
        control.LoadText(data);
}
