#pragma once
#include <string>
#include <string_view>
#include <vector>

// The text rules of annotations: what the host's text becomes when it is stored, and how a
// stored text splits into the lines that are drawn.
namespace AnnotationText {

// A backslash before n and a line feed become CR LF; a backslash before anything else is
// dropped and the character after it kept as it is.
std::string Convert(std::string_view text);

// The lines of a stored text, split at CR (a line feed right after it is skipped). An empty
// text has no lines.
std::vector<std::string_view> Lines(std::string_view text);

} // namespace AnnotationText
