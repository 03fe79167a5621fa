#include "tests/support/test_trash.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mirelon::test {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRecordSuffix = ".trashinfo";

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Percent-decoding written apart from the program's encoder, as a reader of the trash would.
std::optional<std::string> PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            return std::nullopt;
        }
        out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
        i += 2;
    }
    return out;
}

// A record as the layout defines it: the group line, then Key=Value lines.
bool ReadRecord(const fs::path& file, TTestTrash::Entry& entry) {
    std::istringstream lines(ReadWhole(file));
    std::string line;
    if (!std::getline(lines, line) || line != "[Trash Info]") {
        return false;
    }
    bool hasPath = false;
    while (std::getline(lines, line)) {
        if (line.starts_with("Path=")) {
            const auto decoded = PercentDecoded(std::string_view(line).substr(5));
            if (!decoded) {
                return false;
            }
            entry.originalPath = *decoded;
            hasPath = true;
        } else if (line.starts_with("DeletionDate=")) {
            entry.deletionDate = line.substr(13);
        }
    }
    return hasPath;
}

std::vector<std::string> SortedNames(const fs::path& folder) {
    std::vector<std::string> names;
    if (fs::is_directory(folder)) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TTestTrash::TTestTrash(std::string dataHome) : folder_(dataHome + "/Trash") {
    if (const char* old = std::getenv("XDG_DATA_HOME")) {
        savedDataHome_ = old;
    }
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
}

TTestTrash::~TTestTrash() {
    if (savedDataHome_) {
        ::setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

std::vector<std::string> TTestTrash::FileNames() const {
    return SortedNames(fs::path(folder_) / "files");
}

std::vector<std::string> TTestTrash::RecordNames() const {
    return SortedNames(fs::path(folder_) / "info");
}

std::vector<TTestTrash::Entry> TTestTrash::Entries() const {
    std::vector<Entry> entries;
    for (const std::string& record : RecordNames()) {
        Entry entry;
        if (!record.ends_with(kRecordSuffix) ||
            !ReadRecord(fs::path(folder_) / "info" / record, entry)) {
            continue;
        }
        entry.name = record.substr(0, record.size() - kRecordSuffix.size());
        const fs::path file = fs::path(folder_) / "files" / entry.name;
        entry.content = fs::is_symlink(file) ? fs::read_symlink(file).string() : ReadWhole(file);
        entries.push_back(std::move(entry));
    }
    return entries;
}

int TTestTrash::UnreadableRecords() const {
    return static_cast<int>(RecordNames().size() - Entries().size());
}

std::optional<TTestTrash::Entry> TTestTrash::EntryFrom(const std::string& originalPath) const {
    std::optional<Entry> found;
    for (Entry& entry : Entries()) {
        if (entry.originalPath == originalPath) {
            if (found) {
                return std::nullopt;
            }
            found = std::move(entry);
        }
    }
    return found;
}

} // namespace mirelon::test
