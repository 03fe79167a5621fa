#include "scan/scan_files.h"

#include "scan/path_separator.h"
#include "tests/scan/scan_files_fixture.h"
#include "tests/scan/walk_order.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace mirelon {
namespace {

using ::testing::ElementsAre;
using testing::ScanFilesTree;
using testing::Sorted;
using ::testing::UnorderedElementsAre;
using testing::Walked;

TEST(ScanFilesProperties, StartsWithEveryFileAndSubFolders) {
    TScanFiles scanner;
    EXPECT_TRUE(scanner.SubFolder());
    EXPECT_EQ(scanner.Path(), "");
    EXPECT_TRUE(scanner.ExcludedFolders().empty());
    EXPECT_EQ(scanner.Extensions(), "*;");
    EXPECT_FALSE(scanner.UseThread());
    EXPECT_FALSE(scanner.Running());
}

TEST(ScanFilesProperties, ExtensionsAreStoredInFilterForm) {
    TScanFiles scanner;
    scanner.SetExtensions("exe");
    EXPECT_EQ(scanner.Extensions(), "exe;");
    scanner.SetExtensions("exe;dll;");
    EXPECT_EQ(scanner.Extensions(), "exe;dll;");
    scanner.SetExtensions("");
    EXPECT_EQ(scanner.Extensions(), "*;");
    scanner.SetExtensions(" exe");
    EXPECT_EQ(scanner.Extensions(), " exe;");
    scanner.SetExtensions("   ");
    EXPECT_EQ(scanner.Extensions(), "*;");
    scanner.SetExtensions("txt ");
    EXPECT_EQ(scanner.Extensions(), "txt ;");
}

TEST_F(ScanFilesTree, NewComponentReportsEveryFileHiddenOnesIncluded) {
    tree.File("a.txt");
    tree.File(".hidden");
    tree.File("sub/b");
    tree.File("sub/deeper/c.DAT");
    Walked walk(tree.Root());
    EXPECT_THAT(Sorted(walk.Run().Files()),
                ElementsAre(tree.Path(".hidden"), tree.Path("a.txt"), tree.Path("sub/b"),
                            tree.Path("sub/deeper/c.DAT")));
    EXPECT_EQ(walk.events.events.back(), "E");
    EXPECT_EQ(std::count(walk.events.events.begin(), walk.events.events.end(), "E"), 1);
}

TEST_F(ScanFilesTree, ExtensionFilterMatchesLowerCasedExtensionInsideTheList) {
    for (const char* name : {"A.EXE", "a.txt", "noext", "enddot.", "a.xe", "lib.Dll", "blank. ",
                             "x.exe.bak", "sub/inner.exe"}) {
        tree.File(name);
    }
    Walked walk(tree.Root());
    walk.scanner.SetExtensions("exe;dll;");
    EXPECT_THAT(walk.Run().Files(),
                UnorderedElementsAre(tree.Path("A.EXE"), tree.Path("a.xe"), tree.Path("lib.Dll"),
                                     tree.Path("sub/inner.exe")));
}

TEST_F(ScanFilesTree, UpperCaseFilterEntryNeverMatches) {
    tree.File("a.exe");
    tree.File("b.EXE");
    Walked walk(tree.Root());
    walk.scanner.SetExtensions("EXE;");
    EXPECT_TRUE(walk.Run().Files().empty());
}

TEST_F(ScanFilesTree, StarAnywhereInTheFilterTakesEveryFile) {
    tree.File("a.txt");
    tree.File("noext");
    Walked walk(tree.Root());
    walk.scanner.SetExtensions("exe;*;dll");
    EXPECT_THAT(walk.Run().Files(), UnorderedElementsAre(tree.Path("a.txt"), tree.Path("noext")));
}

TEST_F(ScanFilesTree, FilterChangedDuringTheWalkDoesNotApplyToIt) {
    tree.File("a.txt");
    tree.File("b.txt");
    Walked walk(tree.Root());
    walk.scanner.SetExtensions("txt");
    walk.scanner.SetOnFoundFile([&](TCustomScanFiles& sender, const std::string& name, bool&) {
        walk.events.events.push_back("F " + name);
        sender.SetExtensions("exe");
    });
    EXPECT_EQ(walk.Run().Files().size(), 2u);
}

TEST_F(ScanFilesTree, ExcludedFolderSkipsItsSubTreeWhateverTheLetterCase) {
    tree.File("Windows/system/kernel.dll");
    tree.File("Windows/notepad.exe");
    tree.File("Users/readme.txt");
    for (const std::string excluded : {"Windows", "WINDOWS", "windows"}) {
        Walked walk(tree.Root());
        walk.scanner.ExcludedFolders() = {tree.Path(excluded)};
        walk.Run();
        EXPECT_THAT(walk.events.Files(), ElementsAre(tree.Path("Users/readme.txt"))) << excluded;
        EXPECT_THAT(Sorted(walk.events.Folders()), ElementsAre(tree.Path(""), tree.Path("Users/")));
    }
}

TEST_F(ScanFilesTree, ExclusionWithTrailingSeparatorExcludesNothing) {
    tree.File("Windows/notepad.exe");
    Walked walk(tree.Root());
    walk.scanner.ExcludedFolders() = {tree.Path("Windows/")};
    EXPECT_THAT(walk.Run().Files(), ElementsAre(tree.Path("Windows/notepad.exe")));
}

TEST_F(ScanFilesTree, ExcludedFileIsSkipped) {
    tree.File("keep.txt");
    tree.File("Skip.TXT");
    Walked walk(tree.Root());
    walk.scanner.ExcludedFolders() = {"/nowhere", tree.Path("skip.txt")};
    EXPECT_THAT(walk.Run().Files(), ElementsAre(tree.Path("keep.txt")));
}

TEST_F(ScanFilesTree, ExcludedOrMissingRootListsNothingButEndsTheScan) {
    tree.File("a.txt");
    {
        Walked walk(tree.Root());
        walk.scanner.ExcludedFolders() = {tree.Root()};
        EXPECT_THAT(walk.Run().events, ElementsAre("E"));
    }
    {
        Walked walk(tree.Path("missing"));
        EXPECT_THAT(walk.Run().events, ElementsAre("E"));
    }
    {
        Walked walk(tree.Path("a.txt")); // a file is no folder to walk
        EXPECT_THAT(walk.Run().events, ElementsAre("E"));
    }
    {
        Walked walk("");
        EXPECT_THAT(walk.Run().events, ElementsAre("E"));
    }
}

TEST_F(ScanFilesTree, RootIsExcludedOnlyInTheFormItIsGiven) {
    tree.File("a.txt");
    Walked walk(tree.Path(""));
    walk.scanner.ExcludedFolders() = {tree.Root()};
    walk.Run();
    EXPECT_EQ(walk.events.events.front(), "D " + tree.Path(""));
    EXPECT_THAT(walk.events.Files(), ElementsAre(tree.Path("a.txt")));
}

TEST_F(ScanFilesTree, AbortInFirstFoundFileEndsTheWholeWalk) {
    for (int i = 0; i < 11; ++i) {
        tree.File("file" + std::to_string(i));
    }
    for (int i = 0; i < 3; ++i) {
        tree.File("sub" + std::to_string(i) + "/inner");
    }
    Walked walk(tree.Root());
    walk.scanner.SetOnFoundFile([&](TCustomScanFiles&, const std::string& name, bool& abort) {
        walk.events.events.push_back("F " + name);
        abort = true;
    });
    const auto& events = walk.Run().events;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[events.size() - 2].substr(0, 2), "F ");
    EXPECT_EQ(events.back(), "E");
    EXPECT_EQ(walk.events.Files().size(), 1u);
}

TEST_F(ScanFilesTree, AbortBeforeTheRootListsNothing) {
    tree.File("a.txt");
    tree.File("sub/b.txt");
    Walked walk(tree.Root());
    walk.scanner.SetOnBeforeScanDir([&](TCustomScanFiles&, const std::string& name, bool& abort) {
        walk.events.events.push_back("D " + name);
        abort = true;
    });
    EXPECT_THAT(walk.Run().events, ElementsAre("D " + tree.Path(""), "E"));
}

TEST_F(ScanFilesTree, AbortBeforeASubFolderStopsEverything) {
    for (int i = 0; i < 5; ++i) {
        tree.File("file" + std::to_string(i));
    }
    tree.File("sub/inner");
    Walked walk(tree.Root());
    walk.scanner.SetOnBeforeScanDir([&](TCustomScanFiles&, const std::string& name, bool& abort) {
        walk.events.events.push_back("D " + name);
        abort = name == tree.Path("sub/");
    });
    const auto& events = walk.Run().events;
    EXPECT_EQ(events[events.size() - 2], "D " + tree.Path("sub/"));
    EXPECT_EQ(events.back(), "E");
}

TEST_F(ScanFilesTree, ExecuteFromOnEndScanIsRefusedWhileStillRunning) {
    tree.File("a.txt");
    TScanFiles scanner;
    scanner.SetPath(tree.Root());
    std::string refusal;
    bool runningAtEnd = false;
    scanner.SetOnEndScan([&](TCustomScanFiles& sender) {
        runningAtEnd = sender.Running();
        try {
            sender.Execute();
        } catch (const std::runtime_error& error) {
            refusal = error.what();
        }
    });
    scanner.Execute();
    EXPECT_TRUE(runningAtEnd);
    EXPECT_EQ(refusal, "Scan File Running!");
    EXPECT_FALSE(scanner.Running());
}

TEST_F(ScanFilesTree, HandlerExceptionLeavesExecuteWithoutEndScanAndScannerReusable) {
    tree.File("a.txt");
    tree.File("sub/b.txt");
    Walked walk(tree.Root());
    walk.scanner.SetOnFoundFile([](TCustomScanFiles&, const std::string&, bool&) {
        throw std::runtime_error("disk gone");
    });
    EXPECT_THROW(walk.scanner.Execute(), std::runtime_error);
    EXPECT_FALSE(walk.scanner.Running());
    EXPECT_EQ(std::count(walk.events.events.begin(), walk.events.events.end(), "E"), 0);

    walk.events.Attach(walk.scanner);
    walk.events.events.clear();
    EXPECT_EQ(walk.Run().Files().size(), 2u);
}

TEST_F(ScanFilesTree, WalksDepthFirstInListingOrder) {
    for (const char* name : {"a", "b/c", "b/d/e", "b/d/f", "b/g", "h/i/j/k", "h/l", "m", "n/o"}) {
        tree.File(name);
    }
    tree.Folder("empty");
    tree.Folder("b/empty2");
    Walked walk(tree.Root());
    walk.Run();
    EXPECT_EQ(testing::DepthFirstOrderProblem(walk.events.events), "");
    EXPECT_EQ(walk.events.Files().size(), 9u);
    for (const auto& folder : walk.events.Folders()) {
        EXPECT_EQ(folder.back(), PathSeparator());
    }
}

TEST_F(ScanFilesTree, WithoutSubFoldersFolderEntriesAreReportedLikeFiles) {
    tree.File("a.txt");
    tree.File("pack.exe/inside.exe");
    tree.File("plain/inside.txt");
    Walked walk(tree.Root());
    walk.scanner.SetSubFolder(false);
    walk.Run();
    EXPECT_THAT(walk.events.Folders(), ElementsAre(tree.Path("")));
    EXPECT_THAT(walk.events.Files(), UnorderedElementsAre(tree.Path("a.txt"), tree.Path("pack.exe"),
                                                          tree.Path("plain")));

    Walked filtered(tree.Root());
    filtered.scanner.SetSubFolder(false);
    filtered.scanner.SetExtensions("exe;");
    EXPECT_THAT(filtered.Run().Files(), ElementsAre(tree.Path("pack.exe")));
}

} // namespace
} // namespace mirelon
