#include "trash/trash_info.h"

#include "base/hex_text.h"

#include <cstdint>

namespace mirelon {

namespace {

bool IsKeptInPath(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

bool IsUtf8Continuation(char c) {
    return (static_cast<uint8_t>(c) & 0xC0) == 0x80;
}

// At most `bytes` bytes of the text, one less while that would split a UTF-8 sequence.
std::string_view CutAtCharacter(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) {
        return text;
    }
    while (bytes > 0 && IsUtf8Continuation(text[bytes])) {
        --bytes;
    }
    return text.substr(0, bytes);
}

} // namespace

std::string EncodeTrashInfoPath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        if (IsKeptInPath(c)) {
            out += c;
        } else {
            out += '%';
            AppendHexByte(out, static_cast<uint8_t>(c), THexLetters::Upper);
        }
    }
    return out;
}

std::string TrashInfoText(std::string_view path, std::string_view deletionDate) {
    std::string text = "[Trash Info]\nPath=";
    text += EncodeTrashInfoPath(path);
    text += "\nDeletionDate=";
    text += deletionDate;
    text += '\n';
    return text;
}

std::string TrashEntryName(std::string_view fileName, int attempt) {
    // A leading dot starts the name, not an extension.
    const std::size_t dot = fileName.find_last_of('.');
    const bool hasExtension = dot != std::string_view::npos && dot > 0;
    std::string_view stem = hasExtension ? fileName.substr(0, dot) : fileName;
    const std::string_view extension = hasExtension ? fileName.substr(dot) : std::string_view();
    const std::string number = attempt > 0 ? "." + std::to_string(attempt + 1) : std::string();

    const std::size_t room = kTrashNameBytes - kTrashInfoSuffix.size();
    std::string_view keptExtension = extension;
    if (number.size() + extension.size() > room / 2) {
        keptExtension = {}; // an extension this long is no kind anyone knows
        stem = fileName;
    }
    const std::size_t stemRoom = room - number.size() - keptExtension.size();
    std::string name(CutAtCharacter(stem, stemRoom));
    name += number;
    name += keptExtension;
    return name;
}

} // namespace mirelon
