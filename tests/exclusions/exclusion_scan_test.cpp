#include "exclusions/check_state_file.h"
#include "exclusions/item_identity.h"
#include "exclusions/store_exclusion_provider.h"

#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "scan/drive_info.h"
#include "scan/scan_files.h"
#include "scan/scan_run.h"
#include "session/scan_session.h"
#include "tests/support/fake_drives.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <set>

namespace mirelon {
namespace {

using test::FakeDrives;
using test::ScanTestTree;
using PathSet = std::set<std::string>;

// A scan over a drive table whose one fixed drive is the test tree, excluding what the store
// says, with the catalog in a data directory of its own. Ticked folders across a scan are tested
// with the panels.
class ExclusionScanTest : public ::testing::Test {
protected:
    ExclusionScanTest() {
        drives =
            std::make_shared<const TcxDriveInfo>(FakeDrives({{2, kDriveFixed, tree.Path("")}}));
        tree.File("keep.txt", "k");
        tree.File("skip/a.txt", "a");
        tree.File("skip/deeper/b.txt", "b");
        tree.File("other/c.txt", "c");
    }

    // What the scan catalogued.
    PathSet Scan(const TCheckStateStore& source) {
        auto store = std::make_shared<TCheckStateStore>();
        store->Assign(source.Snapshot());
        TStoreExclusionProvider exclusions(store, drives);
        TScanFiles scanner;
        TScanOptions options;
        TNullScanProgress progress;
        TScanRun run(scanner, *drives, options, exclusions, progress);
        std::unique_ptr<TSQLiteDatabase> catalog;
        EXPECT_EQ(RunScanNow(run, catalog, dataDir, options).error, "");
        catalog.reset();
        TSQLiteDatabase reader(dataDir + "files.db");
        auto table = reader.OpenResult("SELECT fldFullPath FROM tblFiles");
        PathSet paths;
        for (; !table->AtEnd(); table->MoveNext()) {
            paths.insert(table->TextOf("fldFullPath"));
        }
        return paths;
    }

    ScanTestTree tree;
    ScanTestTree dataTree;
    std::string dataDir = dataTree.Path("");
    std::shared_ptr<const TcxDriveInfo> drives;
};

TEST_F(ExclusionScanTest, WithNoFileTheScanRunsWithAnEmptyList) {
    TCheckStateStore store;
    LoadCheckStateFile(dataDir + "Scan_Exclusions.txt", store, IdentityExists);
    EXPECT_EQ(
        TStoreExclusionProvider(std::make_shared<TCheckStateStore>(), drives).ExcludedFolderList(),
        std::vector<std::string>{});
    EXPECT_EQ(Scan(store), (PathSet{tree.Path("keep.txt"), tree.Path("skip/a.txt"),
                                    tree.Path("skip/deeper/b.txt"), tree.Path("other/c.txt")}));
}

TEST_F(ExclusionScanTest, TickedDriveIsNotWalkedAtAll) {
    TCheckStateStore store;
    store.SetState({IdentityOfPath(tree.Root())}, csCheckedNormal);
    EXPECT_EQ(Scan(store), PathSet{});
}

} // namespace
} // namespace mirelon
