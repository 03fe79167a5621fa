// Runs the built mirelon-cli's duplicates filters and remove-duplicates on trees made here, on
// both sides, and checks what is left on disk against the files' own bytes.
#include "tests/cli/cli_remove_duplicates_fixture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace mirelon::test {
namespace {

using RemoveDuplicates = TRemoveDuplicatesFixture;

TEST_F(RemoveDuplicates, InsideAFolderAndFiltersChooseWhatGoesAndPermanentlyDeletes) {
    // The folder to keep has a name that is not ASCII, as --in takes it.
    const std::string keep = "k\xc3\xa9\xc3\xa9p \xd0\xb4\xd0\xb0";
    const std::string keepDoc = Write(keep + "/report.doc", "report", 1);
    const std::string otherDoc = Write("old/REPORT.DOC", "report", 5);
    const std::string renamedDoc = Write("old/renamed.doc", "report", 5);
    const std::string txtA = Write("old/notes.txt", "notes", 5);
    const std::string txtB = Write("older/notes.txt", "notes", 6);
    const std::string skipped = Write("skip/report.doc", "report", 1);
    Scan();

    // Same name and .doc only, the skip folder left out: one group of two, kept inside the keep
    // folder; the notes have no copy there but are not .doc files, so they are not listed.
    const ProcessResult listed = RunCli({"duplicates", "--db", folder.Path(), "--same-name",
                                         "--extensions", "DOC", "--exclude", folder / "tree/skip"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::set<std::string> listedPaths;
    for (const std::string& line : Lines(listed.out)) {
        listedPaths.insert(TsvFields(line)[0]);
    }
    EXPECT_EQ(listedPaths, (std::set<std::string>{"fldFullPath", keepDoc, otherDoc}));

    const std::vector<std::string> arguments{
        "--in",      folder / ("tree/" + keep), "--same-name", "--extensions", ".doc txt",
        "--exclude", folder / "tree/skip",      "--permanently"};
    std::vector<std::string> dryArguments = arguments;
    dryArguments.push_back("--dry-run");
    const auto before = OnDiskByContent();
    const ProcessResult dryRun = Run(dryArguments);
    EXPECT_EQ(dryRun.exitCode, 0) << dryRun.err;
    EXPECT_EQ(OnDiskByContent(), before);

    const ProcessResult run = Run(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The dry run said exactly what the real run did.
    EXPECT_EQ(run.out, dryRun.out);
    const auto actions = Actions(run.out);
    EXPECT_EQ(actions.at("kept"), std::set<std::string>{keepDoc});
    EXPECT_EQ(actions.at("deleted"), std::set<std::string>{otherDoc});
    EXPECT_EQ(actions.at("untouched"), (std::set<std::string>{txtA, txtB}));
    EXPECT_NE(run.err.find("1 group left untouched"), std::string::npos) << run.err;
    std::map<std::string, std::set<std::string>> expected = before;
    expected["report"].erase(otherDoc);
    EXPECT_EQ(OnDiskByContent(), expected);
    EXPECT_EQ(RowCount(folder / "files.db"), static_cast<int64_t>(written.size() - 1));
}

TEST_F(RemoveDuplicates, BadChoicesOfWhatToKeepAreUsageErrors) {
    Write("a", "1", 1);
    Scan();
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                      {"--keep", "largest"},
                                                      {"--keep", "oldest", "--in", "/"},
                                                      {"--in", ""}}) {
        const ProcessResult run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    }
}

} // namespace
} // namespace mirelon::test
