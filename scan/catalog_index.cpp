#include "scan/catalog_index.h"

#include "base/ascii_case.h"
#include "catalog/sqlite_database.h"
#include "scan/path_separator.h"

#include <algorithm>
#include <string_view>

namespace mirelon {

namespace {

bool UnderLeftOutFolder(const std::string& path, const WalkedRoot& root) {
    if (root.leftOut.empty()) {
        return false;
    }
    // Each folder on the way down from the root, with its separator.
    const char separator = PathSeparator();
    for (size_t end = path.find(separator, root.prefix.size() - 1); end != std::string::npos;
         end = path.find(separator, end + 1)) {
        if (root.leftOut.contains(path.substr(0, end + 1))) {
            return true;
        }
    }
    return false;
}

bool CouldHaveSeen(const std::string& path, const TCatalogIndex::Entry& entry,
                   const WalkedRoot& root) {
    return path.starts_with(root.prefix) &&
           (!entry.hasStamp || entry.stamp.device == root.device) &&
           !UnderLeftOutFolder(path, root);
}

} // namespace

void TCatalogIndex::Load(TSQLiteDatabase& catalog) {
    entries_.clear();
    ReadCataloguedFiles(catalog, [this](CataloguedFile& file) { Add(file); });
}

void TCatalogIndex::Add(const CataloguedFile& file) {
    Entry& entry = entries_[file.path];
    entry.id = file.id;
    entry.fileSize = file.fileSize;
    entry.hasChecksum = file.hasChecksum;
    entry.hasStamp = file.hasStamp;
    entry.stamp = file.stamp;
    entry.seen = false;
}

TCatalogIndex::Entry* TCatalogIndex::Find(const std::string& path) {
    const auto found = entries_.find(path);
    return found == entries_.end() || found->first != path ? nullptr : &found->second;
}

bool TCatalogIndex::HoldsLetterCaseTwin(const std::string& path) const {
    const auto found = entries_.find(path);
    return found != entries_.end() && found->first != path;
}

size_t TCatalogIndex::FoldedHash::operator()(const std::string& path) const {
    // FNV-1a over the lower-cased bytes.
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : path) {
        hash = (hash ^ static_cast<unsigned char>(ToLowerAscii(c))) * 0x100000001b3ULL;
    }
    return static_cast<size_t>(hash);
}

bool TCatalogIndex::FoldedEqual::operator()(const std::string& a, const std::string& b) const {
    return EqualIgnoringAsciiCase(a, b);
}

bool TCatalogIndex::Unchanged(const Entry& entry, const FileStamp& now) {
    return entry.hasStamp && entry.hasChecksum && entry.stamp == now && entry.fileSize == now.size;
}

std::vector<int64_t> TCatalogIndex::RowsGone(const std::vector<WalkedRoot>& roots) const {
    std::vector<int64_t> gone;
    for (const auto& [path, entry] : entries_) {
        if (!entry.seen && std::any_of(roots.begin(), roots.end(), [&](const WalkedRoot& root) {
                return CouldHaveSeen(path, entry, root);
            })) {
            gone.push_back(entry.id);
        }
    }
    std::sort(gone.begin(), gone.end());
    return gone;
}

} // namespace mirelon
