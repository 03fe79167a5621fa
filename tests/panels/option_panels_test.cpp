#include "panels/frm_duplicate_files_options.h"
#include "panels/frm_scan_options.h"
#include "panels/gradient_strip.h"
#include "panels/property_inspector.h"
#include "settings/rs_ini_data.h"
#include "settings/rs_prop_saver.h"
#include "settings/rs_storage.h"
#include "tests/support/drop_down_steps.h"

#include "scan/scan_options.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using namespace mirelon;
using mirelon::test::ShowWhile;

namespace {

// One run of the program as far as settings go: the store over the settings file, read at
// start-up and written when it goes, as at program end.
class ProgramRun {
public:
    explicit ProgramRun(const QString& file) {
        store.SetStorageData(std::make_unique<TrsIniData>(file.toStdString()));
        store.SetActive(true);
    }
    TrsStorage store;
};

QString FileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void WriteFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Picks a line the way the keyboard does on a closed list.
void PickLine(TInspectorComboRow& row, int index) {
    QComboBox* combo = row.ComboBox();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

QStringList Captions(const TPropertyInspector& inspector) {
    QStringList captions;
    for (const TInspectorRow* row : inspector.Rows())
        captions << row->objectName() + "=" + row->Caption();
    return captions;
}

} // namespace

class OptionPanelsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void scanPanelHasTheDesignedRows();
    void duplicateFilesPanelHasTheDesignedRows();
    void firstStartGivesMd5AndFreshScan();
    void havalAndUpdateWithOkAreStoredAndBackAfterRestart();
    void changesWithoutOkLastOnlyForTheRun_data();
    void changesWithoutOkLastOnlyForTheRun();
    void typedFreshScanText_data();
    void typedFreshScanText();
    void storedIndexOutsideTheLinesLeavesTheRow();
    void uncheckedSameNameIsStoredAsFalse();
    void duplicateFilesPanelKeepsItsSizeScanPanelDoesNot();
    void unwritableSettingsFileKeepsPanelOpen();
    void errorBoxOverThePanelTakesClicks();
    void excludeTheseFoldersOpensTheNestedPanel();
    void pickingFromTheDroppedListKeepsPanelOpen();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString settingsFile_;
    std::unique_ptr<QWidget> mainWindow_;
};

void OptionPanelsTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    settingsFile_ = folder_->filePath("mirelon.ini");
    mainWindow_ = std::make_unique<QWidget>();
    mainWindow_->setGeometry(10, 10, 200, 150);
    mainWindow_->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow_.get()));
}

void OptionPanelsTest::cleanup() {
    mainWindow_.reset();
    folder_.reset();
}

void OptionPanelsTest::scanPanelHasTheDesignedRows() {
    ProgramRun run(settingsFile_);
    TfrmScan_Options panel(&run.store);
    QCOMPARE(panel.objectName(), QString("frmScan_Options"));
    QCOMPARE(panel.ClientSize(), QSize(262, 114));
    TPropertyInspector* inspector = panel.findChild<TPropertyInspector*>("iptDuplicateFiles");
    QVERIFY(inspector);
    QCOMPARE(inspector->CaptionColumnWidth(), 125);
    QCOMPARE(inspector->font().family(), QString("Tahoma"));
    QCOMPARE(inspector->font().pointSize(), 8);
    QCOMPARE(Captions(*inspector),
             QStringList({"catScanning=", "btnExcludedFolders=Exclude these folders",
                          "cboHashMethod=Hash method", "cboFreshScan=Fresh scan"}));
    QCOMPARE(panel.cboHashMethod->Lines(),
             QStringList({"MD2", "MD4", "MD5", "CRC32", "CRC32B", "ADLER32", "GOST", "HAVAL128",
                          "HAVAL160", "HAVAL192", "HAVAL224", "HAVAL256"}));
    QCOMPARE(panel.cboHashMethod->ComboBox()->maxVisibleItems(), 16);
    QVERIFY(!panel.cboHashMethod->ComboBox()->isEditable());
    QCOMPARE(panel.cboFreshScan->Lines(),
             QStringList({"Yes (Old data will be deleted)", "No (Continue from last scan)",
                          "Update (rehash changed files only)"}));
    QVERIFY(panel.cboFreshScan->ComboBox()->isEditable());
    QCOMPARE(panel.cboHashMethod->Hint(),
             QString("This is the method of identifying duplicate files.\nThey range from less "
                     "accurate but fast to more accurate but slow."));
    QCOMPARE(panel.cboHashMethod->ComboBox()->toolTip(), panel.cboHashMethod->Hint());

    QPushButton* ok = panel.findChild<QPushButton*>("btnOk");
    QVERIFY(ok);
    QCOMPARE(ok->text(), QString("Ok"));
    QCOMPARE(ok->size(), QSize(60, 22));
    TrsPropSaver* saver = panel.findChild<TrsPropSaver*>("PropSaver");
    QVERIFY(saver);
    QCOMPARE(saver->RootSection(), QString("frmScan_Options.PropSaver"));
    QCOMPARE(saver->Properties(),
             QStringList({"cboHashMethod.ItemIndex", "cboDeleteDatabase.ItemIndex",
                          "cboFreshScan.ItemIndex"}));
    QCOMPARE(saver->Options() & poStoreFormPlacement, 0u);
    QCOMPARE(panel.findChildren<TGradientStrip*>().size(), 2);
}

void OptionPanelsTest::duplicateFilesPanelHasTheDesignedRows() {
    ProgramRun run(settingsFile_);
    TfrmDuplicateFiles_Options panel(&run.store);
    QCOMPARE(panel.objectName(), QString("frmDuplicateFiles_Options"));
    QCOMPARE(panel.ClientSize(), QSize(278, 130));
    panel.show(); // lays the strips out
    QCOMPARE(panel.iptDuplicateFiles->geometry(), QRect(4, 4, 271, 87));
    QCOMPARE(panel.iptDuplicateFiles->CaptionColumnWidth(), 160);
    QCOMPARE(Captions(*panel.iptDuplicateFiles),
             QStringList({"catOptions=Show only files which have", "chkSameName=Same name",
                          "edtExtensions=These extensions", "catExclusions=Exclusions",
                          "btnExcludedFolders=Exclude these folders"}));
    QCOMPARE(panel.chkSameName->Value(), QString("true"));
    QVERIFY(panel.chkSameName->CheckBox()->isChecked());
    QCOMPARE(panel.edtExtensions->Value(), QString(".doc,.zip,.exe,.txt"));
    QCOMPARE(panel.PropSaver->Properties(),
             QStringList({"chkSameName.Value", "edtExtensions.Value"}));
    QVERIFY(panel.PropSaver->Options() & poStoreFormPlacement);
    panel.hide();
}

void OptionPanelsTest::firstStartGivesMd5AndFreshScan() {
    QVERIFY(!QFile::exists(settingsFile_));
    ProgramRun run(settingsFile_);
    TScanOptions options;
    options.SetHashMethodIndex(7);
    options.SetFreshScanIndex(kFreshScanContinue);
    TfrmScan_Options panel(&run.store, &options);
    QCOMPARE(panel.cboHashMethod->Text(), QString("MD5"));
    QCOMPARE(panel.cboFreshScan->Text(), QString("Yes (Old data will be deleted)"));
    QCOMPARE(options.HashMethodIndex(), 2);
    QCOMPARE(options.FreshScanIndex(), 0);
}

void OptionPanelsTest::havalAndUpdateWithOkAreStoredAndBackAfterRestart() {
    {
        ProgramRun run(settingsFile_);
        TScanOptions options;
        TfrmScan_Options panel(&run.store, &options);
        ShowWhile(panel, *mainWindow_, [&] {
            PickLine(*panel.cboHashMethod, 11);
            PickLine(*panel.cboFreshScan, 2);
            QCOMPARE(options.HashMethodIndex(), 11);
            QCOMPARE(options.FreshScanIndex(), kFreshScanUpdate);
            QTest::mouseClick(panel.btnOk, Qt::LeftButton);
        });
        QVERIFY(!panel.isVisible());
        // Written on "Ok", before the program ends.
        QCOMPARE(FileText(settingsFile_), QString("[frmScan_Options.PropSaver]\r\n"
                                                  "cboFreshScan.ItemIndex=2\r\n"
                                                  "cboHashMethod.ItemIndex=11\r\n\r\n"));
    }
    ProgramRun restart(settingsFile_);
    TScanOptions options;
    TfrmScan_Options panel(&restart.store, &options);
    QCOMPARE(panel.cboHashMethod->Text(), QString("HAVAL256"));
    QCOMPARE(panel.HashMethodIndex(), 11);
    QCOMPARE(options.HashMethodIndex(), 11);
    QCOMPARE(panel.cboFreshScan->Text(), QString("Update (rehash changed files only)"));
    QCOMPARE(options.FreshScanIndex(), kFreshScanUpdate);
}

void OptionPanelsTest::changesWithoutOkLastOnlyForTheRun_data() {
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Esc") << true;
    QTest::newRow("click outside") << false;
}

void OptionPanelsTest::changesWithoutOkLastOnlyForTheRun() {
    QFETCH(bool, byEscape);
    WriteFile(settingsFile_, "[frmScan_Options.PropSaver]\r\ncboFreshScan.ItemIndex=0\r\n"
                             "cboHashMethod.ItemIndex=4\r\n");
    {
        ProgramRun run(settingsFile_);
        TScanOptions options;
        TfrmScan_Options panel(&run.store, &options);
        QCOMPARE(options.HashMethodIndex(), 4);
        ShowWhile(panel, *mainWindow_, [&] {
            PickLine(*panel.cboFreshScan, 1);
            PickLine(*panel.cboHashMethod, 0);
            if (byEscape)
                QTest::keyClick(panel.cboHashMethod->ComboBox(), Qt::Key_Escape);
            else
                QTest::mouseClick(mainWindow_.get(), Qt::LeftButton);
        });
        QVERIFY(!panel.isVisible());
        // The next scan of this run continues, with MD2.
        QCOMPARE(options.FreshScanIndex(), kFreshScanContinue);
        QCOMPARE(options.HashMethodIndex(), 0);
        // Showing the panel again shows the same choice: it is only hidden.
        ShowWhile(panel, *mainWindow_, [&] { panel.CloseDropDown(); });
        QCOMPARE(panel.cboFreshScan->Text(), QString("No (Continue from last scan)"));
    } // the store is written as the program ends
    ProgramRun restart(settingsFile_);
    TScanOptions options;
    TfrmScan_Options panel(&restart.store, &options);
    QCOMPARE(options.FreshScanIndex(), kFreshScanYes);
    QCOMPARE(options.HashMethodIndex(), 4);
}

void OptionPanelsTest::typedFreshScanText_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("after");
    QTest::newRow("second line, lower case") << 0 << "no (continue from last scan)" << 1;
    QTest::newRow("first line, capitals") << 1 << "YES (OLD DATA WILL BE DELETED)" << 0;
    QTest::newRow("third line, lower case") << 1 << "update (rehash changed files only)" << 2;
    QTest::newRow("no line keeps 0") << 0 << "No" << 0;
    QTest::newRow("no line keeps 1") << 1 << "maybe" << 1;
    QTest::newRow("empty keeps 1") << 1 << "" << 1;
}

void OptionPanelsTest::typedFreshScanText() {
    QFETCH(int, before);
    QFETCH(QString, typed);
    QFETCH(int, after);
    ProgramRun run(settingsFile_);
    TScanOptions options;
    TfrmScan_Options panel(&run.store, &options);
    panel.cboFreshScan->SetItemIndex(before);
    ShowWhile(panel, *mainWindow_, [&] {
        QLineEdit* edit = panel.cboFreshScan->ComboBox()->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        QCOMPARE(panel.cboFreshScan->ItemIndex(), before); // not before typing is finished
        QTest::keyClick(edit, Qt::Key_Return);
        panel.CloseDropDown();
    });
    QCOMPARE(panel.cboFreshScan->ItemIndex(), after);
    QCOMPARE(options.FreshScanIndex(), after);
    // The row shows the line in force.
    QCOMPARE(panel.cboFreshScan->Text(), TfrmScan_Options::FreshScanLines()[after]);
}

void OptionPanelsTest::storedIndexOutsideTheLinesLeavesTheRow() {
    WriteFile(settingsFile_, "[frmScan_Options.PropSaver]\r\ncboDeleteDatabase.ItemIndex=1\r\n"
                             "cboFreshScan.ItemIndex=-1\r\ncboHashMethod.ItemIndex=12\r\n");
    ProgramRun run(settingsFile_);
    TScanOptions options;
    TfrmScan_Options panel(&run.store, &options);
    QCOMPARE(panel.cboHashMethod->Text(), QString("MD5"));
    QCOMPARE(options.HashMethodIndex(), 2);
    QCOMPARE(options.FreshScanIndex(), 0);
    // Saving drops the key that names no row.
    panel.btnOkClick();
    QVERIFY(!FileText(settingsFile_).contains("cboDeleteDatabase"));
}

void OptionPanelsTest::uncheckedSameNameIsStoredAsFalse() {
    {
        ProgramRun run(settingsFile_);
        TfrmDuplicateFiles_Options panel(&run.store);
        ShowWhile(panel, *mainWindow_, [&] {
            QTest::mouseClick(panel.chkSameName->CheckBox(), Qt::LeftButton);
            panel.edtExtensions->LineEdit()->setText(".mp3");
            QTest::mouseClick(panel.btnOk, Qt::LeftButton);
        });
        const QString text = FileText(settingsFile_);
        QVERIFY2(text.contains("[frmDuplicateFiles_Options.PropSaver]\r\n"
                               "chkSameName.Value=\"false\"\r\n"
                               "edtExtensions.Value=\".mp3\"\r\n"
                               "FormPlacement="),
                 qPrintable(text));
    }
    ProgramRun restart(settingsFile_);
    TfrmDuplicateFiles_Options panel(&restart.store);
    QVERIFY(!panel.chkSameName->CheckBox()->isChecked());
    QCOMPARE(panel.edtExtensions->Value(), QString(".mp3"));
}

void OptionPanelsTest::duplicateFilesPanelKeepsItsSizeScanPanelDoesNot() {
    const QPoint drag(70, 40);
    QSize duplicatesResized;
    QSize scanDesigned;
    {
        ProgramRun run(settingsFile_);
        TfrmDuplicateFiles_Options duplicates(&run.store);
        TfrmScan_Options scan(&run.store);
        scanDesigned = scan.size();
        for (TfmOptionPanel* panel :
             {static_cast<TfmOptionPanel*>(&duplicates), static_cast<TfmOptionPanel*>(&scan)}) {
            ShowWhile(*panel, *mainWindow_, [&] {
                // The bottom-right grip lies over the bottom strip.
                const QPoint grip(panel->width() - 3, panel->height() - 3);
                QTest::mousePress(panel->pnlBottom, Qt::LeftButton, {},
                                  panel->pnlBottom->mapFrom(panel, grip));
                QTest::mouseMove(panel->pnlBottom, panel->pnlBottom->mapFrom(panel, grip + drag));
                QTest::mouseRelease(panel->pnlBottom, Qt::LeftButton, {},
                                    panel->pnlBottom->mapFrom(panel, grip + drag));
                QTest::mouseClick(panel->btnOk, Qt::LeftButton);
            });
        }
        duplicatesResized = duplicates.size();
        QCOMPARE(duplicatesResized, QSize(280, 132) + QSize(drag.x(), drag.y()));
        QCOMPARE(scan.size(), scanDesigned + QSize(drag.x(), drag.y()));
    }
    const QString text = FileText(settingsFile_);
    QCOMPARE(text.count("FormPlacement="), 1);

    ProgramRun restart(settingsFile_);
    TfrmDuplicateFiles_Options duplicates(&restart.store);
    TfrmScan_Options scan(&restart.store);
    QCOMPARE(duplicates.size(), duplicatesResized);
    QCOMPARE(scan.size(), scanDesigned);
    // The position is the pointer's at each showing, whatever was stored.
    ShowWhile(duplicates, *mainWindow_, [&] { duplicates.CloseDropDown(); });
    QCOMPARE(duplicates.pos(), QPoint(300, 200));
    QCOMPARE(duplicates.size(), duplicatesResized);
}

void OptionPanelsTest::unwritableSettingsFileKeepsPanelOpen() {
    const QString unwritable = folder_->filePath("missing/folder/mirelon.ini");
    ProgramRun run(unwritable);
    run.store.SetOptions(0); // nothing to write at the end either
    TfrmScan_Options panel(&run.store);
    QStringList shown;
    panel.SetMessageSink([&](const QString& text) { shown << text; });
    bool openAfterOk = false;
    ShowWhile(panel, *mainWindow_, [&] {
        QTest::mouseClick(panel.btnOk, Qt::LeftButton);
        QTest::qWait(10);
        openAfterOk = panel.IsDropped() && panel.isVisible();
        panel.CloseDropDown();
    });
    QVERIFY(openAfterOk);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith("Cannot create file \"" + unwritable + "\". "),
             qPrintable(shown[0]));
}

void OptionPanelsTest::errorBoxOverThePanelTakesClicks() {
    ProgramRun run(folder_->filePath("missing/mirelon.ini"));
    run.store.SetOptions(0);
    TfrmScan_Options panel(&run.store);
    QString boxText;
    bool openAfterBox = false;
    ShowWhile(panel, *mainWindow_, [&] {
        // The box runs its own loop; answer it from there with a click on its button.
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            boxText = box->text();
            QTest::mouseClick(box->buttons().first(), Qt::LeftButton);
            // Should the click not get through, end the box so the test fails, not hangs.
            QPointer<QMessageBox> left(box);
            QTimer::singleShot(1000, [left] {
                if (left)
                    left->reject();
            });
        });
        QTest::mouseClick(panel.btnOk, Qt::LeftButton);
        openAfterBox = panel.IsDropped();
        panel.CloseDropDown();
    });
    QVERIFY(boxText.startsWith("Cannot create file"));
    QVERIFY(openAfterBox);
}

void OptionPanelsTest::excludeTheseFoldersOpensTheNestedPanel() {
    ProgramRun run(settingsFile_);
    TfrmScan_Options panel(&run.store);
    TfmDropDown exclusions;
    exclusions.setObjectName("frmScan_ExcludedFolders");
    exclusions.SetClientSize(285, 172);
    exclusions.SetRollDownSpeed(0);
    panel.SetExcludedFoldersPanel(&exclusions);
    QWidget* openedFrom = nullptr;
    bool outerOpenAfterInnerClosed = false;
    ShowWhile(panel, *mainWindow_, [&] {
        QObject::connect(
            &exclusions, &TfmDropDown::DroppedDown, &exclusions,
            [&] {
                openedFrom = exclusions.ParentForm();
                QTimer::singleShot(0, [&] { QTest::keyClick(&exclusions, Qt::Key_Escape); });
            },
            Qt::SingleShotConnection);
        QTest::mouseClick(panel.btnExcludedFolders->Button(), Qt::LeftButton);
        outerOpenAfterInnerClosed = panel.IsDropped();
        panel.CloseDropDown();
    });
    QCOMPARE(openedFrom, static_cast<QWidget*>(&panel));
    QVERIFY(outerOpenAfterInnerClosed);
}

void OptionPanelsTest::pickingFromTheDroppedListKeepsPanelOpen() {
    ProgramRun run(settingsFile_);
    TScanOptions options;
    TfrmScan_Options panel(&run.store, &options);
    bool listReachesPastPanel = false;
    bool openAfterPick = false;
    ShowWhile(panel, *mainWindow_, [&] {
        QComboBox* combo = panel.cboHashMethod->ComboBox();
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(list->window()));
        const QRect line = list->visualRect(list->model()->index(11, 0));
        const QPoint at = list->viewport()->mapToGlobal(line.center());
        listReachesPastPanel = !panel.geometry().contains(at);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
        QTRY_VERIFY(!list->isVisible());
        openAfterPick = panel.IsDropped();
        panel.CloseDropDown();
    });
    QVERIFY(listReachesPastPanel);
    QVERIFY(openAfterPick);
    QCOMPARE(options.HashMethodIndex(), 11);
}

QTEST_MAIN(OptionPanelsTest)
#include "option_panels_test.moc"
