#include "trash/trash_info.h"

#include <gtest/gtest.h>

#include <string>

namespace mirelon {
namespace {

TEST(TrashEntryName, LaterAttemptsNumberTheStemAndKeepTheExtension) {
    EXPECT_EQ(TrashEntryName("report.doc", 0), "report.doc");
    EXPECT_EQ(TrashEntryName("report.doc", 1), "report.2.doc");
    EXPECT_EQ(TrashEntryName("archive.tar.gz", 2), "archive.tar.3.gz");
    EXPECT_EQ(TrashEntryName(".profile", 1), ".profile.2");
    EXPECT_EQ(TrashEntryName("noextension", 9), "noextension.10");
}

TEST(TrashEntryName, LongNamesAreCutBetweenCharactersSoTheRecordNameFits) {
    std::string longName;
    for (int i = 0; i < 200; ++i) {
        longName += "\xc3\xa9"; // two bytes each
    }
    for (const std::string& name : {longName + ".txt", longName, std::string(300, 'x') + ".txt"}) {
        for (int attempt : {0, 1, 9999}) {
            const std::string entry = TrashEntryName(name, attempt);
            EXPECT_LE(entry.size() + kTrashInfoSuffix.size(), kTrashNameBytes);
            EXPECT_GT(entry.size() + kTrashInfoSuffix.size(), kTrashNameBytes - 2);
            const std::string suffix = attempt == 0 ? "" : "." + std::to_string(attempt + 1);
            const std::string ending = suffix + (name.ends_with(".txt") ? ".txt" : "");
            EXPECT_TRUE(entry.ends_with(ending)) << entry;
            // The cut never leaves half of a two-byte sequence.
            const std::string stem = entry.substr(0, entry.size() - ending.size());
            if (name.starts_with("\xc3")) {
                EXPECT_EQ(stem.size() % 2, 0u);
            }
        }
    }
}

} // namespace
} // namespace mirelon
