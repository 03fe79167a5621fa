#include "exclusions/check_state_file.h"
#include "exclusions/folder_tree.h"
#include "exclusions/frm_excluded_folders.h"
#include "exclusions/item_identity.h"
#include "panels/gradient_strip.h"

#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "scan/drive_info.h"
#include "scan/scan_files.h"
#include "scan/scan_run.h"
#include "session/scan_session.h"
#include "tests/support/drop_down_steps.h"
#include "tests/support/fake_mount_source.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <set>

using namespace mirelon;
using mirelon::test::ShowWhile;

namespace {

QStringList Texts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

// The events of a real double click: press, release, double click, release.
void DoubleClick(QWidget* widget, QPoint at) {
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &doubleClick);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

QTreeWidgetItem* Expanded(QTreeWidgetItem* item) {
    item->setExpanded(true);
    return item;
}

} // namespace

class ExclusionPanelsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void panelHasTheDesignedLayout();
    void treeShowsComputerDrivesAndSortedFoldersOnlyWhenExpanded();
    void rowsAre17PixelsDoubleClickExpandsSpaceTicks();
    void tickingGoesDownToLoadedAndLaterLoadedFoldersAndPartlyUp();
    void untickingRemovesTheSubtreeFromTheStore();
    void storedTicksShowWhenTheirFoldersAreMadeAndMarkTheParents();
    void escKeepsTicksForTheRunOnlyOkKeepsThemForTheNextStart();
    void unwritableFileKeepsThePanelOpenWithTheError();
    void duplicateFilesPanelKeepsItsOwnFile();

private:
    std::string Path(const QString& relative) const {
        return (tree_->path() + "/" + relative).toStdString();
    }
    void MakeFolder(const QString& relative) { QVERIFY(QDir(tree_->path()).mkpath(relative)); }
    void MakeFile(const QString& relative) {
        const QString path = tree_->path() + "/" + relative;
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    QTreeWidgetItem* Drive(TFolderTree& tree) const {
        return TFolderTree::ChildByPath(tree.ComputerItem(), tree_->path().toStdString());
    }
    QTreeWidgetItem* Item(TFolderTree& tree, const QString& relative) const {
        QTreeWidgetItem* item = Drive(tree);
        std::string path = tree_->path().toStdString();
        for (const QString& name : relative.split('/')) {
            path += "/" + name.toStdString();
            item = TFolderTree::ChildByPath(Expanded(item), path);
            if (item == nullptr)
                return nullptr;
        }
        return item;
    }
    TItemChain Chain(const QString& relative) const {
        TItemChain chain{IdentityOfPath(tree_->path().toStdString())};
        std::string path = tree_->path().toStdString();
        for (const QString& name : relative.split('/', Qt::SkipEmptyParts)) {
            path += "/" + name.toStdString();
            chain.push_back(IdentityOfPath(path));
        }
        return chain;
    }
    std::set<std::string> Scan(IExclusionProvider& exclusions);

    std::unique_ptr<QTemporaryDir> tree_;
    std::unique_ptr<QTemporaryDir> data_;
    std::string dataDirectory_;
    std::shared_ptr<const TcxDriveInfo> drives_;
    std::unique_ptr<QWidget> mainWindow_;
};

void ExclusionPanelsTest::init() {
    tree_ = std::make_unique<QTemporaryDir>();
    data_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tree_->isValid() && data_->isValid());
    dataDirectory_ = data_->path().toStdString() + "/";
    // The test tree is the one fixed drive, D.
    auto source = std::make_shared<test::FakeMountSource>();
    source->text =
        "30 1 259:3 / " + tree_->path().toStdString() + " rw,relatime - ext4 /dev/vdb1 rw\n";
    source->labels[tree_->path().toStdString()] = "Data";
    drives_ = std::make_shared<const TcxDriveInfo>(source);
    mainWindow_ = std::make_unique<QWidget>();
    mainWindow_->setGeometry(10, 10, 200, 150);
    mainWindow_->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow_.get()));
}

void ExclusionPanelsTest::cleanup() {
    mainWindow_.reset();
    tree_.reset();
    data_.reset();
}

std::set<std::string> ExclusionPanelsTest::Scan(IExclusionProvider& exclusions) {
    TScanFiles scanner;
    TScanOptions options;
    TNullScanProgress progress;
    TScanRun run(scanner, *drives_, options, exclusions, progress);
    std::unique_ptr<TSQLiteDatabase> catalog;
    const ScanOutcome outcome = RunScanNow(run, catalog, dataDirectory_, options);
    if (!outcome.error.empty())
        QWARN(outcome.error.c_str());
    catalog.reset();
    TSQLiteDatabase reader(dataDirectory_ + "files.db");
    auto table = reader.OpenResult("SELECT fldFullPath FROM tblFiles");
    std::set<std::string> paths;
    for (; !table->AtEnd(); table->MoveNext())
        paths.insert(table->TextOf("fldFullPath").substr(tree_->path().size() + 1));
    return paths;
}

void ExclusionPanelsTest::panelHasTheDesignedLayout() {
    TfrmScan_ExcludedFolders panel(dataDirectory_, drives_);
    QCOMPARE(panel.objectName(), QString("frmScan_ExcludedFolders"));
    QCOMPARE(panel.FilePath(), dataDirectory_ + "Scan_Exclusions.txt");
    QCOMPARE(panel.ClientSize(), QSize(285, 172));
    panel.layout()->activate();
    panel.pnlMain->layout()->activate();
    panel.pnlBottom->layout()->activate();
    QCOMPARE(panel.vclExplorer->geometry(), QRect(3, 3, 278, 130));
    QCOMPARE(panel.vclExplorer->objectName(), QString("vclExplorer"));
    QCOMPARE(panel.pnlBottom->height(), 36);
    QCOMPARE(panel.btnOk->text(), QString("Ok"));
    QCOMPARE(panel.btnOk->geometry(), QRect(213, 7, 60, 22));
}

void ExclusionPanelsTest::treeShowsComputerDrivesAndSortedFoldersOnlyWhenExpanded() {
    MakeFolder("b");
    MakeFolder("A/inner");
    MakeFolder("c");
    MakeFile("a.txt");
    QVERIFY(QFile::link(tree_->path() + "/c", tree_->path() + "/link"));
    TFolderTree tree(std::make_shared<TCheckStateStore>(), DriveRoots(*drives_));
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.ComputerItem()->text(0), QString("Computer"));
    QCOMPARE(Texts(tree.ComputerItem()), QStringList({"Data (D:)"}));
    QTreeWidgetItem* drive = Drive(tree);
    QVERIFY(drive);
    QCOMPARE(drive->childCount(), 0);
    QCOMPARE(drive->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    drive->setExpanded(true);
    QCOMPARE(Texts(drive), QStringList({"A", "b", "c"}));
    QCOMPARE(drive->child(0)->childCount(), 0);
    QCOMPARE(Texts(Expanded(drive->child(0))), QStringList({"inner"}));
    for (QTreeWidgetItem* item : {tree.ComputerItem(), drive, drive->child(0)}) {
        QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
        QCOMPARE(item->checkState(0), Qt::Unchecked);
    }
}

void ExclusionPanelsTest::rowsAre17PixelsDoubleClickExpandsSpaceTicks() {
    MakeFolder("x");
    auto store = std::make_shared<TCheckStateStore>();
    TFolderTree tree(store, DriveRoots(*drives_));
    tree.resize(300, 200);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QTreeWidgetItem* drive = Drive(tree);
    QCOMPARE(tree.visualItemRect(drive).height(), TFolderTree::kRowHeight);
    const QPoint at = tree.visualItemRect(drive).center();
    DoubleClick(tree.viewport(), at);
    QVERIFY(drive->isExpanded());
    QVERIFY(drive->childCount() > 0);
    DoubleClick(tree.viewport(), at);
    QVERIFY(!drive->isExpanded());

    // The user's own tick, here by the keyboard, reaches the store like any other.
    tree.setCurrentItem(drive);
    QTest::keyClick(tree.viewport(), Qt::Key_Space);
    QCOMPARE(drive->checkState(0), Qt::Checked);
    QCOMPARE(store->StateOf(Chain("")), csCheckedNormal);
}

void ExclusionPanelsTest::tickingGoesDownToLoadedAndLaterLoadedFoldersAndPartlyUp() {
    MakeFolder("t/x/deep");
    MakeFolder("t/y");
    MakeFolder("u");
    auto store = std::make_shared<TCheckStateStore>();
    TFolderTree tree(store, DriveRoots(*drives_));
    QTreeWidgetItem* t = Item(tree, "t");
    QTreeWidgetItem* x = Item(tree, "t/x");
    t->setCheckState(0, Qt::Checked);

    QCOMPARE(x->checkState(0), Qt::Checked);
    QCOMPARE(Item(tree, "t/y")->checkState(0), Qt::Checked);
    QCOMPARE(Item(tree, "u")->checkState(0), Qt::Unchecked);
    QCOMPARE(Drive(tree)->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(tree.ComputerItem()->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(store->StateOf(Chain("t")), csCheckedNormal);
    QCOMPARE(store->StateOf(Chain("t/x")), csCheckedNormal);
    QCOMPARE(store->StateOf(Chain("")), csMixedNormal);
    QCOMPARE(store->StateOf({}), csMixedNormal);
    QVERIFY(!store->StateOf(Chain("t/x/deep")));

    // Made below a ticked folder: ticked, and stored as such.
    QCOMPARE(Item(tree, "t/x/deep")->checkState(0), Qt::Checked);
    QCOMPARE(store->StateOf(Chain("t/x/deep")), csCheckedNormal);

    // Every folder of the drive ticked still leaves the drive's own files in: partly ticked.
    Item(tree, "u")->setCheckState(0, Qt::Checked);
    QCOMPARE(Drive(tree)->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(store->StateOf(Chain("")), csMixedNormal);
    // Unticking one folder below a ticked one: the folder is partly ticked from then on.
    Item(tree, "t/y")->setCheckState(0, Qt::Unchecked);
    QCOMPARE(Item(tree, "t")->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(store->StateOf(Chain("t")), csMixedNormal);
    QVERIFY(!store->StateOf(Chain("t/y")));
    QCOMPARE(store->StateOf(Chain("t/x/deep")), csCheckedNormal);
}

void ExclusionPanelsTest::untickingRemovesTheSubtreeFromTheStore() {
    MakeFolder("t/x");
    MakeFolder("u");
    auto store = std::make_shared<TCheckStateStore>();
    TFolderTree tree(store, DriveRoots(*drives_));
    Item(tree, "t")->setCheckState(0, Qt::Checked);
    Item(tree, "t/x");
    Item(tree, "u")->setCheckState(0, Qt::Checked);
    Item(tree, "t")->setCheckState(0, Qt::Unchecked);
    QCOMPARE(Item(tree, "t/x")->checkState(0), Qt::Unchecked);
    QVERIFY(!store->StateOf(Chain("t")));
    QVERIFY(!store->StateOf(Chain("t/x")));
    QCOMPARE(Drive(tree)->checkState(0), Qt::PartiallyChecked);

    Item(tree, "u")->setCheckState(0, Qt::Unchecked);
    QCOMPARE(Drive(tree)->checkState(0), Qt::Unchecked);
    QCOMPARE(tree.ComputerItem()->checkState(0), Qt::Unchecked);
    QCOMPARE(store->Snapshot(), TCheckStateStore().Snapshot());
}

void ExclusionPanelsTest::storedTicksShowWhenTheirFoldersAreMadeAndMarkTheParents() {
    MakeFolder("p/q/r");
    MakeFolder("p/s");
    // Only the deep folder has a state; the nodes above it were made without one.
    auto store = std::make_shared<TCheckStateStore>();
    store->SetState(Chain("p/q/r"), csCheckedNormal);
    TFolderTree tree(store, DriveRoots(*drives_));
    QCOMPARE(Drive(tree)->checkState(0), Qt::Unchecked);
    QCOMPARE(Item(tree, "p")->checkState(0), Qt::Unchecked);
    QCOMPARE(Item(tree, "p/q/r")->checkState(0), Qt::Checked);
    QCOMPARE(Item(tree, "p/q")->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(Item(tree, "p")->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(Drive(tree)->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(tree.ComputerItem()->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(store->StateOf(Chain("p")), csMixedNormal);
    QCOMPARE(store->StateOf(Chain("p/q")), csMixedNormal);
    QCOMPARE(Item(tree, "p/s")->checkState(0), Qt::Unchecked);

    // What the tree stored brings the same picture back at once.
    TFolderTree again(store, DriveRoots(*drives_));
    QCOMPARE(Drive(again)->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(again.ComputerItem()->checkState(0), Qt::PartiallyChecked);
}

void ExclusionPanelsTest::escKeepsTicksForTheRunOnlyOkKeepsThemForTheNextStart() {
    MakeFile("keep.txt");
    MakeFile("saved/a.txt");
    MakeFile("unsaved/b.txt");
    MakeFile("unsaved/inner/c.txt");
    std::shared_ptr<IExclusionProvider> exclusions;
    {
        TfrmScan_ExcludedFolders panel(dataDirectory_, drives_);
        exclusions = panel.ExclusionProvider();
        QCOMPARE(exclusions->ExcludedFolderList(), std::vector<std::string>{});
        ShowWhile(panel, *mainWindow_, [&] {
            Item(*panel.vclExplorer, "saved")->setCheckState(0, Qt::Checked);
            QTest::mouseClick(panel.btnOk, Qt::LeftButton);
        });
        QVERIFY(QFile::exists(QString::fromStdString(dataDirectory_ + "Scan_Exclusions.txt")));
        ShowWhile(panel, *mainWindow_, [&] {
            Item(*panel.vclExplorer, "unsaved/inner");
            Item(*panel.vclExplorer, "unsaved")->setCheckState(0, Qt::Checked);
            QTest::keyClick(&panel, Qt::Key_Escape);
        });
        QVERIFY(!panel.isVisible());
        QCOMPARE(panel.ExcludedFolderList(),
                 (std::vector<std::string>{Path("saved"), Path("unsaved"), Path("unsaved/inner")}));
        QCOMPARE(Scan(*exclusions), (std::set<std::string>{"keep.txt"}));
    }
    // The next start reads what "Ok" wrote; the scan excludes it without the panel being opened.
    TfrmScan_ExcludedFolders restarted(dataDirectory_, drives_);
    QCOMPARE(Scan(*restarted.ExclusionProvider()),
             (std::set<std::string>{"keep.txt", "unsaved/b.txt", "unsaved/inner/c.txt"}));
    QCOMPARE(Item(*restarted.vclExplorer, "saved")->checkState(0), Qt::Checked);
    QCOMPARE(Item(*restarted.vclExplorer, "unsaved")->checkState(0), Qt::Unchecked);
    // The provider handed out before outlives its panel.
    QCOMPARE(exclusions->ExcludedFolderList().size(), 3u);
}

void ExclusionPanelsTest::unwritableFileKeepsThePanelOpenWithTheError() {
    MakeFolder("t");
    TfrmScan_ExcludedFolders panel(dataDirectory_, drives_);
    // Made after the panel: one found at start-up would be kept aside as damaged.
    QVERIFY(QDir(data_->path()).mkdir("Scan_Exclusions.txt"));
    QStringList messages;
    panel.SetMessageSink([&](const QString& text) { messages << text; });
    bool openAfterOk = false;
    ShowWhile(panel, *mainWindow_, [&] {
        Item(*panel.vclExplorer, "t")->setCheckState(0, Qt::Checked);
        QTest::mouseClick(panel.btnOk, Qt::LeftButton);
        QCoreApplication::processEvents();
        openAfterOk = panel.IsDropped();
        panel.CloseDropDown();
    });
    QVERIFY(openAfterOk);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith("Cannot create file \"" + data_->path() +
                                    "/Scan_Exclusions.txt\". "),
             qPrintable(messages[0]));
    // The tick still counts for this run.
    QCOMPARE(panel.ExcludedFolderList(), std::vector<std::string>{Path("t")});
}

void ExclusionPanelsTest::duplicateFilesPanelKeepsItsOwnFile() {
    MakeFolder("d");
    {
        TfrmDuplicateFiles_ExcludedFolders panel(dataDirectory_, drives_);
        QCOMPARE(panel.objectName(), QString("frmDuplicateFiles_ExcludedFolders"));
        ShowWhile(panel, *mainWindow_, [&] {
            Item(*panel.vclExplorer, "d")->setCheckState(0, Qt::Checked);
            QTest::mouseClick(panel.btnOk, Qt::LeftButton);
        });
    }
    QVERIFY(
        QFile::exists(QString::fromStdString(dataDirectory_ + "DuplicateFiles_Exclusions.txt")));
    QVERIFY(!QFile::exists(QString::fromStdString(dataDirectory_ + "Scan_Exclusions.txt")));
    TfrmDuplicateFiles_ExcludedFolders restarted(dataDirectory_, drives_);
    QCOMPARE(Item(*restarted.vclExplorer, "d")->checkState(0), Qt::Checked);
    TfrmScan_ExcludedFolders scanPanel(dataDirectory_, drives_);
    QCOMPARE(Item(*scanPanel.vclExplorer, "d")->checkState(0), Qt::Unchecked);
}

QTEST_MAIN(ExclusionPanelsTest)
#include "exclusion_panels_test.moc"
