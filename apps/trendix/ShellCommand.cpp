#include "ShellCommand.h"

#include "ValueText.h"

namespace {

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool StartsName(char c) {
    return IsNameChar(c) && !(c >= '0' && c <= '9');
}

std::string_view Trim(std::string_view line) {
    const size_t start = ValueText::SkipBlanks(line, 0);
    size_t end = line.size();
    while (end > start && ValueText::IsBlank(line[end - 1]))
        --end;
    return line.substr(start, end - start);
}

ShellCommand ParseDirective(std::string_view line) {
    ShellCommand c;
    c.kind = ShellCommand::Kind::Directive;
    size_t pos = 1;
    while (pos < line.size() && !ValueText::IsBlank(line[pos]))
        ++pos;
    c.name = std::string(line.substr(1, pos - 1));
    for (pos = ValueText::SkipBlanks(line, pos); pos < line.size();
         pos = ValueText::SkipBlanks(line, pos))
        c.words.push_back(ValueText::ParseWord(line, pos));
    return c;
}

ShellCommand ParseMemberUse(std::string_view line) {
    ShellCommand c;
    size_t pos = 0;
    while (pos < line.size() && IsNameChar(line[pos]))
        ++pos;
    c.name = std::string(line.substr(0, pos));
    if (pos == line.size()) {
        c.kind = ShellCommand::Kind::Get;
        return c;
    }
    if (!ValueText::IsBlank(line[pos]) && line[pos] != '=')
        throw SyntaxError("unexpected " + std::string(1, line[pos]) + " after " + c.name);
    pos = ValueText::SkipBlanks(line, pos);
    const bool put = line[pos] == '=';
    c.kind = put ? ShellCommand::Kind::Put : ShellCommand::Kind::Call;
    c.values = ValueText::ParseAll(line.substr(put ? pos + 1 : pos));
    if (put && c.values.size() != 1) throw SyntaxError("expected one value after =");
    return c;
}

} // namespace

ShellCommand ShellCommand::Parse(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') return ShellCommand();
    if (line[0] == '.') return ParseDirective(line);
    if (!StartsName(line[0])) throw SyntaxError("expected a name at " + std::string(line));
    return ParseMemberUse(line);
}
