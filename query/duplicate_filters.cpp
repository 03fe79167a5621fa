#include "query/duplicate_filters.h"

#include "base/ascii_case.h"
#include "query/inside_folder.h"

#include <algorithm>

namespace mirelon {

namespace {

bool IsSeparator(char c) {
    return c == ',' || c == ';' || c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() &&
           EqualIgnoringAsciiCase(text.substr(text.size() - ending.size()), ending);
}

} // namespace

std::vector<std::string> ParseExtensionList(std::string_view text) {
    std::vector<std::string> extensions;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsSeparator(text[at])) {
            ++at;
        }
        std::size_t end = at;
        while (end < text.size() && !IsSeparator(text[end])) {
            ++end;
        }
        std::string_view entry = text.substr(at, end - at);
        at = end;
        while (!entry.empty() && entry.front() == '.') {
            entry.remove_prefix(1);
        }
        if (entry.empty()) {
            continue;
        }
        std::string extension = "." + ToLowerAscii(entry);
        if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end()) {
            extensions.push_back(std::move(extension));
        }
    }
    return extensions;
}

bool PassesDuplicateFilters(const ResultRow& row, const DuplicateFilters& filters) {
    const std::string& name = row[kFileNameColumn];
    if (!filters.extensions.empty() &&
        std::none_of(
            filters.extensions.begin(), filters.extensions.end(),
            [&](const std::string& ending) { return EndsWithIgnoringAsciiCase(name, ending); })) {
        return false;
    }
    const std::string& path = row[kFullPathColumn];
    return std::none_of(filters.excludedFolders.begin(), filters.excludedFolders.end(),
                        [&](const std::string& folder) { return IsInsideFolder(path, folder); });
}

std::string DuplicateGroupKey(std::string_view checkSum, std::string_view fileName, bool sameName) {
    std::string key(checkSum);
    if (sameName) {
        key += '/'; // no checksum text holds it, nor does a file name
        key += ToLowerAscii(fileName);
    }
    return key;
}

std::string DuplicateFiltersText(const DuplicateFilters& filters) {
    std::vector<std::string> parts;
    if (filters.sameName) {
        parts.emplace_back("Same name");
    }
    if (!filters.extensions.empty()) {
        std::string list;
        for (const std::string& extension : filters.extensions) {
            list += list.empty() ? "" : ", ";
            list += extension;
        }
        parts.push_back(std::move(list));
    }
    if (const std::size_t count = filters.excludedFolders.size(); count > 0) {
        parts.push_back(std::to_string(count) +
                        (count == 1 ? " excluded folder" : " excluded folders"));
    }
    if (parts.empty()) {
        return "No filters — set them under Options";
    }
    std::string text;
    for (const std::string& part : parts) {
        text += text.empty() ? "" : "; ";
        text += part;
    }
    return text + " — change them under Options";
}

} // namespace mirelon
