#include "PropertySetCommands.h"

#include "AutomationShell.h"
#include "ValueText.h"
#include "control/TrendixCtrl.h"

#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>

namespace {

// A property set is a few hundred bytes; a bigger file is not one and is not read whole.
constexpr std::uintmax_t kLargestPropertySet = 16u << 20;
// A plot image holds the samples: a file beyond this is refused before it is read.
constexpr std::uintmax_t kLargestImage = std::uintmax_t(1) << 30;

bool IsBinaryName(const std::string& path) {
    const std::string end = ".bin";
    return path.size() >= end.size() &&
           path.compare(path.size() - end.size(), end.size(), end) == 0;
}

std::string ReadWhole(const std::string& path, std::uintmax_t largest, const char* what) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw std::runtime_error("cannot read " + path);
    if (std::uintmax_t(size) > largest)
        throw std::runtime_error(path + " is too large to be " + what);
    in.seekg(0);
    std::string data(size_t(size), '\0');
    if (!in.read(data.data(), size)) throw std::runtime_error("cannot read " + path);
    return data;
}

void WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
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
    // The clipboard: the site's own, and with a file name the plot image in that file too,
    // so that a plot copied in one session can be pasted in another.
    shell.AddDirective("copy", [&control](const std::vector<std::string>& words) {
        if (words.size() > 1) throw SyntaxError("usage: .copy [FILE]");
        control.Copy();
        if (words.size() == 1) WriteFile(words[0], control.SaveImage());
        return std::string("ok");
    });
    shell.AddDirective("paste", [&control](const std::vector<std::string>& words) {
        if (words.size() > 1) throw SyntaxError("usage: .paste [FILE]");
        if (words.empty()) {
            control.Paste();
        } else {
            const std::string image = ReadWhole(words[0], kLargestImage, "a plot image");
            control.LoadImage({reinterpret_cast<const std::uint8_t*>(image.data()), image.size()});
        }
        return std::string("ok");
    });
}

void PropertySetCommands::Save(CTrendixCtrl& control, const std::string& path) {
    if (IsBinaryName(path)) {
        WriteFile(path, control.SaveBinary());
    } else {
        const std::string text = control.SaveText();
        WriteFile(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
}

void PropertySetCommands::Restore(CTrendixCtrl& control, const std::string& path) {
    const std::string data = ReadWhole(path, kLargestPropertySet, "a property set");
    if (IsBinaryName(path))
        control.LoadBinary(
            std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    else
        control.LoadText(data);
}
