#include "scan/mount_table.h"

#include <charconv>

namespace mirelon {

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start < line.size()) {
        const size_t end = line.find_first_of(" \t", start);
        const size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > start) {
            fields.push_back(line.substr(start, stop - start));
        }
        start = stop + 1;
    }
    return fields;
}

bool ParseId(std::string_view field, int& value) {
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && end == field.data() + field.size() && value >= 0;
}

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

bool ParseLine(std::string_view line, MountEntry& entry) {
    const auto fields = SplitFields(line);
    // Six fixed fields, optional tagged fields, then "-" and at least type and source.
    size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") {
        ++separator;
    }
    if (separator >= fields.size() || fields.size() - separator < 3) {
        return false;
    }
    if (!ParseId(fields[0], entry.mountId) || !ParseId(fields[1], entry.parentId) ||
        fields[2].find(':') == std::string_view::npos) {
        return false;
    }
    entry.majorMinor = std::string(fields[2]);
    entry.root = DecodeMountField(fields[3]);
    entry.mountPoint = DecodeMountField(fields[4]);
    entry.mountOptions = std::string(fields[5]);
    entry.fileSystem = DecodeMountField(fields[separator + 1]);
    entry.source = DecodeMountField(fields[separator + 2]);
    entry.superOptions =
        separator + 3 < fields.size() ? DecodeMountField(fields[separator + 3]) : std::string();
    return !entry.mountPoint.empty() && entry.mountPoint.front() == '/';
}

} // namespace

std::string DecodeMountField(std::string_view field) {
    std::string decoded;
    decoded.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            decoded += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                         (field[i + 3] - '0'));
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

bool HasMountOption(std::string_view options, std::string_view option) {
    size_t start = 0;
    while (start <= options.size()) {
        const size_t end = options.find(',', start);
        const size_t stop = end == std::string_view::npos ? options.size() : end;
        if (options.substr(start, stop - start) == option) {
            return true;
        }
        start = stop + 1;
    }
    return false;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        MountEntry entry;
        if (ParseLine(text.substr(start, stop - start), entry)) {
            entries.push_back(std::move(entry));
        }
        start = stop + 1;
    }
    return entries;
}

} // namespace mirelon
