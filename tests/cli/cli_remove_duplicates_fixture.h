#pragma once

#include "base/utf8_path.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace mirelon::test {

// A tree of files with known contents and modification days, and its catalog, for the built
// mirelon-cli's remove-duplicates.
class TRemoveDuplicatesFixture : public testing::Test {
protected:
    // Writes the file, modified `daysAgo` days ago.
    std::string Write(const std::string& relative, const std::string& content, int daysAgo) {
        namespace fs = std::filesystem;
        const std::string path = folder.Write("tree/" + relative, content);
        fs::last_write_time(PathFromUtf8(path), fs::file_time_type::clock::now() -
                                                    std::chrono::hours(24 * daysAgo));
        written.insert(path);
        return path;
    }

    void Scan() {
        const ProcessResult scan =
            RunCli({"scan", "--quiet", "--db", folder.Path(), folder / "tree"});
        ASSERT_EQ(scan.exitCode, 0) << scan.err;
    }

    ProcessResult Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "remove-duplicates");
        arguments.insert(arguments.end(), {"--db", folder.Path()});
        return RunCli(arguments);
    }

    static bool OnDisk(const std::string& path) {
        std::error_code error;
        return std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(path), error));
    }

    // The files still on disk, grouped by their bytes.
    std::map<std::string, std::set<std::string>> OnDiskByContent() const {
        std::map<std::string, std::set<std::string>> groups;
        for (const std::string& path : written) {
            if (OnDisk(path)) {
                groups[FileContents(path)].insert(path);
            }
        }
        return groups;
    }

    // ACTION -> paths, from the command's lines; `reasons` gets each path's third field.
    static std::map<std::string, std::set<std::string>>
    Actions(const std::string& out, std::map<std::string, std::string>* reasons = nullptr) {
        std::map<std::string, std::set<std::string>> actions;
        for (const std::string& line : Lines(out)) {
            const auto fields = TsvFields(line);
            EXPECT_GE(fields.size(), 2u) << line;
            actions[fields[0]].insert(fields[1]);
            if (reasons != nullptr && fields.size() > 2) {
                (*reasons)[fields[1]] = fields[2];
            }
        }
        return actions;
    }

    TTempFolder folder;
    std::set<std::string> written;
};

} // namespace mirelon::test
