#include "cleanup/keep_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace mirelon {
namespace {

using Files = std::vector<DuplicateCandidate>;

std::vector<std::string> Selected(const Files& files, const DuplicateSelection& selection) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (selection.selected[i]) {
            paths.push_back(files[i].path);
        }
    }
    return paths;
}

TEST(KeepRulesTest, EachRuleKeepsOneFilePerGroupAndTiesGoToThePathThatSortsFirst) {
    const Files files{
        {"/z/aa", "2020-01-01", "g1"},          {"/y/longer/bb", "2019-05-05 10:00:00", "g1"},
        {"/x/cc", "2019-05-05 10:00:00", "g1"}, {"/ab/c", "2001-01-01", "g2"},
        {"/\xc3\xa9/a", "2002-01-01", "g2"}, // four characters in five bytes
    };
    EXPECT_EQ(Selected(files, SelectDuplicates(files, KeepRule::Oldest)),
              (std::vector<std::string>{"/z/aa", "/y/longer/bb", "/\xc3\xa9/a"}));
    EXPECT_EQ(Selected(files, SelectDuplicates(files, KeepRule::Newest)),
              (std::vector<std::string>{"/y/longer/bb", "/x/cc", "/ab/c"}));
    EXPECT_EQ(Selected(files, SelectDuplicates(files, KeepRule::ShortestPath)),
              (std::vector<std::string>{"/z/aa", "/y/longer/bb", "/ab/c"}));
    EXPECT_EQ(KeepRuleByName("shortest-path"), KeepRule::ShortestPath);
    EXPECT_EQ(KeepRuleByName("Oldest"), std::nullopt);
}

TEST(KeepRulesTest, InsideAFolderKeepsEveryFileThereAndLeavesGroupsWithoutOneAlone) {
    const Files files{
        {"/keep/a", "", "mixed"},  {"/other/a", "", "mixed"},    {"/keeper/a", "", "mixed"},
        {"/x/b", "", "outside"},   {"/keeper/b", "", "outside"}, {"/KEEP/deep/c", "", "inside"},
        {"/keep/c", "", "inside"},
    };
    const DuplicateSelection selection = SelectDuplicates(files, KeepRule::InsideFolder, "/keep/");
    EXPECT_EQ(Selected(files, selection), (std::vector<std::string>{"/other/a", "/keeper/a"}));
    EXPECT_EQ(selection.groupsWithoutKeeper, std::vector<std::string>{"outside"});
}

TEST(KeepRulesTest, GroupsLosingEveryCopyCountsWholeGroupsOnly) {
    const Files files{
        {"/a", "", "1"}, {"/b", "", "1"}, {"/c", "", "2"}, {"/d", "", "2"}, {"/e", "", "3"}};
    EXPECT_EQ(GroupsLosingEveryCopy(files, {true, true, true, false, true}), 2u);
    EXPECT_EQ(GroupsLosingEveryCopy(files, {false, true, true, false, false}), 0u);
    EXPECT_EQ(GroupsLosingEveryCopy(files, {}), 0u);
}

// Random groups in random order: every rule keeps exactly the file a plain sort of the group
// puts first, and never selects a group whole.
TEST(KeepRulesTest, RandomGroupsKeepTheBestFileByAPlainSort) {
    std::mt19937 random(18);
    const std::vector<std::string> dates{"2001-01-01", "2001-01-01 00:00:01", "2010-12-31 23:59:59",
                                         "1999-06-06", "not a date"};
    for (int round = 0; round < 200; ++round) {
        Files files;
        const int count = 1 + static_cast<int>(random() % 20);
        for (int i = 0; i < count; ++i) {
            std::string path = "/";
            for (int part = static_cast<int>(random() % 4); part >= 0; --part) {
                path += std::string(1 + random() % 3, static_cast<char>('a' + random() % 3)) + "/";
            }
            path += std::to_string(i);
            files.push_back({path, dates[random() % dates.size()], std::to_string(random() % 5)});
        }
        for (const KeepRule rule : {KeepRule::Oldest, KeepRule::Newest, KeepRule::ShortestPath}) {
            const DuplicateSelection selection = SelectDuplicates(files, rule);
            EXPECT_EQ(GroupsLosingEveryCopy(files, selection.selected), 0u);
            std::map<std::string, std::vector<const DuplicateCandidate*>> groups;
            for (const auto& file : files) {
                groups[file.group].push_back(&file);
            }
            // Catalog date texts order as the times they name; "not a date" before them all.
            const auto date = [](const DuplicateCandidate* file) {
                return file->dateModified == "not a date" ? std::string() : file->dateModified;
            };
            const auto better = [&](const DuplicateCandidate* a, const DuplicateCandidate* b) {
                switch (rule) {
                case KeepRule::Oldest:
                    return std::make_pair(date(a), a->path) < std::make_pair(date(b), b->path);
                case KeepRule::Newest:
                    return date(a) != date(b) ? date(a) > date(b) : a->path < b->path;
                default:
                    return std::make_pair(a->path.size(), a->path) <
                           std::make_pair(b->path.size(), b->path);
                }
            };
            for (auto& [group, members] : groups) {
                const DuplicateCandidate* best =
                    *std::min_element(members.begin(), members.end(), better);
                for (const DuplicateCandidate* member : members) {
                    const bool selected = selection.selected[member - files.data()];
                    EXPECT_EQ(selected, member != best) << group << " " << member->path;
                }
            }
        }
    }
}

} // namespace
} // namespace mirelon
