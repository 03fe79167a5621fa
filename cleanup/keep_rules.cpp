#include "cleanup/keep_rules.h"

#include "query/column_order.h"
#include "query/inside_folder.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace mirelon {

namespace {

// The candidates' indexes per group, groups in the order of their first file.
std::vector<std::vector<std::size_t>> Groups(std::span<const DuplicateCandidate> files) {
    std::vector<std::vector<std::size_t>> groups;
    std::unordered_map<std::string_view, std::size_t> numbers;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto [at, added] = numbers.try_emplace(files[i].group, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[at->second].push_back(i);
    }
    return groups;
}

std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Whether file `a` is a better keeper than `b` by the rule; ties by path order.
bool KeepsBefore(const DuplicateCandidate& a, const DuplicateCandidate& b, KeepRule rule) {
    if (rule == KeepRule::Oldest || rule == KeepRule::Newest) {
        const int64_t left = DateSortKey(a.dateModified);
        const int64_t right = DateSortKey(b.dateModified);
        if (left != right) {
            return rule == KeepRule::Oldest ? left < right : left > right;
        }
    } else if (rule == KeepRule::ShortestPath) {
        const std::size_t left = Characters(a.path);
        const std::size_t right = Characters(b.path);
        if (left != right) {
            return left < right;
        }
    }
    return CompareAlphabetic(a.path, b.path) < 0;
}

} // namespace

std::optional<KeepRule> KeepRuleByName(std::string_view name) {
    if (name == "oldest") {
        return KeepRule::Oldest;
    }
    if (name == "newest") {
        return KeepRule::Newest;
    }
    if (name == "shortest-path") {
        return KeepRule::ShortestPath;
    }
    return std::nullopt;
}

DuplicateSelection SelectDuplicates(std::span<const DuplicateCandidate> files, KeepRule rule,
                                    std::string_view folder) {
    DuplicateSelection selection;
    selection.selected.assign(files.size(), false);
    for (const std::vector<std::size_t>& group : Groups(files)) {
        if (rule == KeepRule::InsideFolder) {
            const auto inside = [&](std::size_t i) {
                return IsInsideFolder(files[i].path, folder);
            };
            if (std::none_of(group.begin(), group.end(), inside)) {
                selection.groupsWithoutKeeper.push_back(files[group.front()].group);
                continue;
            }
            for (const std::size_t i : group) {
                selection.selected[i] = !inside(i);
            }
            continue;
        }
        const std::size_t keeper =
            *std::min_element(group.begin(), group.end(), [&](std::size_t a, std::size_t b) {
                return KeepsBefore(files[a], files[b], rule);
            });
        for (const std::size_t i : group) {
            selection.selected[i] = i != keeper;
        }
    }
    return selection;
}

std::size_t GroupsLosingEveryCopy(std::span<const DuplicateCandidate> files,
                                  const std::vector<bool>& selected) {
    std::size_t count = 0;
    for (const std::vector<std::size_t>& group : Groups(files)) {
        count += std::all_of(group.begin(), group.end(),
                             [&](std::size_t i) { return i < selected.size() && selected[i]; });
    }
    return count;
}

} // namespace mirelon
