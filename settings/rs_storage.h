#pragma once

#include "settings/rs_key_wrapper.h"
#include "settings/rs_storage_data.h"
#include "settings/rs_value.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirelon {

struct TrsSection {
    std::string name;
    int id = 0;
    int parentId = 0;
};

struct TrsKey {
    std::string name;
    int sectionId = 0;
    TrsValue value;
};

enum TrsStorageOption : unsigned {
    soSaveOnClose = 1u << 0,
    soSaveEmptySection = 1u << 1,
};
using TrsStorageOptions = unsigned;

// In-memory tree of named sections holding named, typed keys. Section and key names ignore
// ASCII letter case; both tables stay sorted so every lookup is a binary search. Paths use "\"
// or "/" between names; a path that begins with a separator starts at the root (id 0).
class TrsStorage {
public:
    static constexpr int kRootId = 0;

    TrsStorage();
    // Writes the file when active with soSaveOnClose; a failure goes to standard error, since
    // nothing may escape a destructor that runs at program end.
    ~TrsStorage();
    TrsStorage(const TrsStorage&) = delete;
    TrsStorage& operator=(const TrsStorage&) = delete;

    void SetStorageData(std::unique_ptr<TrsStorageData> data) { data_ = std::move(data); }
    TrsStorageData* StorageData() const { return data_.get(); }

    TrsStorageOptions Options() const { return options_; }
    void SetOptions(TrsStorageOptions options) { options_ = options; }

    // On: Reload(). Off: Flush() first when soSaveOnClose is set; if that throws the store
    // stays active.
    bool Active() const { return active_; }
    void SetActive(bool active);

    // The section of keys named without a path. Setting a path selects it from the root and
    // makes every missing section on it; the empty string selects the root.
    const std::string& RootSection() const { return rootSection_; }
    void SetRootSection(std::string_view path);

    // Empties the store and fills it from the back end; the root is current afterwards.
    void Reload();
    // Writes the whole store through the back end; the current section stays as it is.
    void Flush();
    void Clear();

    // The key's position in the key table, or -1 when it is missing and create is off. The key
    // found or made becomes Key()'s current key; a miss leaves no current key.
    int FindKey(std::string_view name, bool create);
    bool DeleteKey(std::string_view name);
    bool KeyExists(std::string_view name);
    TrsKeyWrapper& Key() { return key_; }
    const TrsKeyWrapper& Key() const { return key_; }

    // Read-only views for back ends, in table order.
    size_t SectionCount() const { return sections_.size(); }
    const TrsSection& SectionAt(size_t index) const { return *sections_[index]; }
    size_t KeyCount() const { return keys_.size(); }
    const TrsKey& KeyAt(size_t index) const { return *keys_[index]; }
    // Positions [first, last) of the keys of one section.
    std::pair<size_t, size_t> KeyRange(int sectionId) const;
    // The section's path from the root joined with "\"; empty for the root.
    std::string SectionFullName(int sectionId) const;

private:
    using SectionList = std::vector<std::unique_ptr<TrsSection>>;
    using KeyList = std::vector<std::unique_ptr<TrsKey>>;

    // Walks a section path from startId; -1 when a section is missing and create is off.
    int WalkPath(int startId, std::string_view path, bool create);
    int FindSection(int parentId, std::string_view name, bool create);
    // The key's section id and bare name; -1 as id when the section is missing.
    std::pair<int, std::string_view> SplitKeyName(std::string_view name, bool create);
    KeyList::iterator LowerKey(int sectionId, std::string_view name);
    int FindKeyIn(int sectionId, std::string_view name, bool create);

    std::unique_ptr<TrsStorageData> data_;
    TrsStorageOptions options_ = soSaveOnClose;
    bool active_ = false;
    std::string rootSection_;
    int currentSectionId_ = kRootId;
    SectionList sections_;
    std::vector<TrsSection*> sectionsById_;
    KeyList keys_;
    TrsKeyWrapper key_;
    // Positions of the last section and key found, checked before a search; -1 when unknown.
    long lastSection_ = -1;
    long lastKey_ = -1;
};

} // namespace mirelon
