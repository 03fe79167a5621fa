#pragma once

#include "catalog/file_stamps.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace mirelon {

class TSQLiteDatabase;

// One root as an update walked it: which rows it could have seen.
struct WalkedRoot {
    std::string prefix; // the root with a trailing separator: every path it reaches starts so
    uint64_t device = 0;
    // Folders under it, each with a trailing separator, whose files the walk did not all see.
    std::unordered_set<std::string> leftOut;
};

// The catalogued files an update or a continued scan compares the walk with, by exact path
// (letter case counts, though the path column ignores it). Kept in memory, so that a file
// already catalogued costs no statement at all, and the decision needs no catalog connection.
class TCatalogIndex {
public:
    struct Entry {
        int64_t id = 0;
        uint64_t fileSize = 0;
        bool hasChecksum = false;
        bool hasStamp = false;
        FileStamp stamp;
        bool seen = false;
    };

    void Load(TSQLiteDatabase& catalog);
    void Add(const CataloguedFile& file);
    void Clear() { entries_.clear(); }

    Entry* Find(const std::string& path);
    // Whether a catalogued path differs from `path` in the letter case of ASCII letters only,
    // which the path column takes for the same path.
    bool HoldsLetterCaseTwin(const std::string& path) const;
    size_t Size() const { return entries_.size(); }

    // Whether the row still describes the file of this stamp: stamped alike, of the size the
    // row says, and with a checksum (one that could not be read then is tried again).
    static bool Unchanged(const Entry& entry, const FileStamp& now);

    // The rows not seen that the walk of `roots` could have seen: under one of them, outside
    // its left-out folders, and on its file system (a row without a stamp is taken to be).
    std::vector<int64_t> RowsGone(const std::vector<WalkedRoot>& roots) const;

private:
    // Paths equal but for ASCII letter case fall together, as in the path column.
    struct FoldedHash {
        size_t operator()(const std::string& path) const;
    };
    struct FoldedEqual {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    std::unordered_map<std::string, Entry, FoldedHash, FoldedEqual> entries_;
};

} // namespace mirelon
