#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mirelon::test {

// A home trash the test owns: while it lives, XDG_DATA_HOME points at `dataHome`, so files moved
// to the trash land in dataHome/Trash. Reads the entries back the way a file manager would.
class TTestTrash {
public:
    explicit TTestTrash(std::string dataHome);
    ~TTestTrash();
    TTestTrash(const TTestTrash&) = delete;
    TTestTrash& operator=(const TTestTrash&) = delete;

    struct Entry {
        std::string name;         // in files/
        std::string originalPath; // the record's Path, decoded
        std::string deletionDate;
        std::string content; // of files/name; a link's target
    };

    const std::string& Folder() const { return folder_; }
    // Every entry whose record reads well.
    std::vector<Entry> Entries() const;
    // Records that do not read as the layout defines them.
    int UnreadableRecords() const;
    // Names in files/ and in info/, sorted.
    std::vector<std::string> FileNames() const;
    std::vector<std::string> RecordNames() const;
    // The one entry that came from `originalPath`; nothing when there is none or more than one.
    std::optional<Entry> EntryFrom(const std::string& originalPath) const;

private:
    std::string folder_;
    std::optional<std::string> savedDataHome_;
};

} // namespace mirelon::test
