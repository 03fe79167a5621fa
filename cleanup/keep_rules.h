#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

// Which file of a duplicate group stays when the others are selected.
enum class KeepRule {
    Oldest,       // the earliest modified date
    Newest,       // the latest modified date
    ShortestPath, // the fewest characters in the full path
    InsideFolder, // every file inside a folder; a group with none there is left alone
};

// "oldest", "newest" or "shortest-path"; nothing for any other text.
std::optional<KeepRule> KeepRuleByName(std::string_view name);

// One file of a duplicate search as the rules see it.
struct DuplicateCandidate {
    std::string path;
    std::string dateModified; // catalog date text
    std::string group;        // equal texts: one group (see DuplicateGroupKey)
};

struct DuplicateSelection {
    // Per candidate, in the given order: whether it is selected to go.
    std::vector<bool> selected;
    // With InsideFolder: the groups none of whose files lies inside the folder, which are left
    // untouched, in the order of their first file.
    std::vector<std::string> groupsWithoutKeeper;
};

// Selects in each group every file but the one (or, inside a folder, the ones) the rule keeps.
// Ties go to the path that sorts first. A group is never selected whole.
DuplicateSelection SelectDuplicates(std::span<const DuplicateCandidate> files, KeepRule rule,
                                    std::string_view folder = {});

// How many groups would lose every copy if the selected files went.
std::size_t GroupsLosingEveryCopy(std::span<const DuplicateCandidate> files,
                                  const std::vector<bool>& selected);

} // namespace mirelon
