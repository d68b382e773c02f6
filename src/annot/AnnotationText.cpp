#include "annot/AnnotationText.h"

namespace AnnotationText {

std::string Convert(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    size_t from = 0;
    while (from < text.size()) {
        // The first backslash or line feed ends the plain run (a line feed before a
        // backslash becomes a line break too, not a stray character).
        const size_t at = text.find_first_of("\\\n", from);
        if (at == std::string_view::npos) break;
        out.append(text.substr(from, at - from));
        if (text[at] == '\n') {
            out += "\r\n";
            from = at + 1;
        } else if (at + 1 < text.size() && text[at + 1] == 'n') {
            out += "\r\n";
            from = at + 2;
        } else {
            from = at + 1; // the backslash goes; what follows is ordinary text
            if (from < text.size()) out += text[from++];
        }
    }
    if (from < text.size()) out.append(text.substr(from));
    return out;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    if (text.empty()) return lines;
    size_t from = 0;
    for (;;) {
        const size_t cr = text.find('\r', from);
        if (cr == std::string_view::npos) {
            lines.push_back(text.substr(from));
            return lines;
        }
        lines.push_back(text.substr(from, cr - from));
        from = cr + 1;
        if (from < text.size() && text[from] == '\n') ++from;
        if (from >= text.size()) return lines;
    }
}

} // namespace AnnotationText
