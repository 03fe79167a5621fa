#include "settings/rs_ini_reader.h"

#include "settings/rs_storage.h"
#include "settings/rs_text_compare.h"
#include "settings/rs_value_text.h"

#include <string>

namespace mirelon {

namespace {

// Hands out the lines of a text; a line ends at CR, at LF or at CR LF.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}

    // The next line, without moving past it.
    bool Peek(std::string_view& line) const {
        LineSplitter copy = *this;
        return copy.Next(line);
    }

    bool Next(std::string_view& line) {
        if (at_ >= text_.size())
            return false;
        size_t end = at_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n')
            ++end;
        line = text_.substr(at_, end - at_);
        at_ = end;
        if (at_ < text_.size() && text_[at_] == '\r')
            ++at_;
        if (at_ < text_.size() && text_[at_] == '\n')
            ++at_;
        return true;
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

// Blanks and control characters at both ends do not belong to a line.
std::string_view Trim(std::string_view line) {
    while (!line.empty() && static_cast<unsigned char>(line.front()) <= ' ')
        line.remove_prefix(1);
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ')
        line.remove_suffix(1);
    return line;
}

size_t FirstSectionLine(std::string_view text) {
    if (!text.empty() && text.front() == '[')
        return 0;
    for (size_t at = 1; at < text.size(); ++at)
        if (text[at] == '[' && (text[at - 1] == '\r' || text[at - 1] == '\n'))
            return at;
    return text.size();
}

bool IsCommentStart(char c) {
    return c == '#' || c == '/' || c == ';' || c == '\\';
}

bool IsBinaryText(std::string_view value) {
    return value.size() >= 4 && SameName(value.substr(0, 4), "hex:");
}

} // namespace

void ReadIniText(std::string_view text, TrsStorage& storage) {
    LineSplitter lines(text.substr(FirstSectionLine(text)));
    std::string_view raw;
    while (lines.Next(raw)) {
        const std::string_view line = Trim(raw);
        if (line.empty())
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            storage.SetRootSection(line.substr(1, line.size() - 2));
            continue;
        }
        if (IsCommentStart(line.front()))
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = line.substr(0, equals);
        std::string_view valueText = line.substr(equals + 1);
        std::string joined;
        if (IsBinaryText(valueText) && valueText.back() == '\\') {
            // A long binary value goes on over the following indented lines, each broken one
            // ending in "\"; a line that is not indented is never swallowed.
            joined = valueText;
            std::string_view next;
            while (joined.back() == '\\' && lines.Peek(next) && !next.empty() && next[0] == ' ') {
                lines.Next(next);
                joined.pop_back();
                joined += Trim(next);
            }
            valueText = joined;
        }
        storage.FindKey(name, true);
        storage.Key().WriteVariant(ParseValueText(valueText));
    }
    storage.SetRootSection("");
}

} // namespace mirelon
