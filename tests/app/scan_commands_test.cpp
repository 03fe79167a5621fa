#include "app/blinking_label.h"
#include "app/frm_main.h"
#include "app/qt_window_thread.h"
#include "app/scan_commands.h"
#include "catalog/catalog_schema.h"
#include "catalog/date_time.h"
#include "catalog/local_clock.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "session/shell_state.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using mirelon::TfrmMain;

class ScanCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> data_;
    std::unique_ptr<QTemporaryDir> tree_;
    std::unique_ptr<mirelon::TShellState> state_;
    std::unique_ptr<TfrmMain> frm_;
    std::unique_ptr<mirelon::TScanCommands> commands_;
    int resultsCleared_ = 0;

    void MakeTree(int folders, int filesPerFolder) {
        tree_ = std::make_unique<QTemporaryDir>();
        for (int d = 0; d < folders; ++d) {
            const QString folder = tree_->path() + QStringLiteral("/d%1").arg(d);
            QDir().mkpath(folder);
            for (int f = 0; f < filesPerFolder; ++f) {
                QFile file(folder + QStringLiteral("/f%1.txt").arg(f));
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(QByteArray::number(f));
            }
        }
    }

    void MakeWindow() {
        data_ = std::make_unique<QTemporaryDir>();
        state_ = std::make_unique<mirelon::TShellState>();
        state_->DataDirectory = data_->path().toStdString() + "/";
        state_->CatalogDatabase = mirelon::CreateDatabase(state_->DataDirectory);
        frm_ = std::make_unique<TfrmMain>(*state_);
        frm_->tmrAfterShow->stop();
        frm_->SetMessageSink([](const QString& text) { QFAIL(qPrintable(text)); });
        commands_ =
            std::make_unique<mirelon::TScanCommands>(*frm_, *state_, [this] { ++resultsCleared_; });
        commands_->Run().SetRoots({tree_->path().toStdString()});
        frm_->OnScanNow = [this] { commands_->btnScanClick(); };
        frm_->show();
    }

    qint64 CatalogRows() {
        mirelon::TSQLiteDatabase reader(state_->DataDirectory + "files.db");
        return reader.OpenResult("SELECT COUNT(*) FROM tblFiles")->IntegerAt(0);
    }

private slots:
    void initTestCase() { mirelon::InstallQtWindowThread(); }

    void cleanup() {
        commands_.reset();
        frm_.reset();
        state_.reset();
        data_.reset();
        tree_.reset();
        resultsCleared_ = 0;
    }

    // "Scan Now" -> "Abort" -> "Wait ..." (disabled) -> "Scan Now", with the status panes.
    void buttonWalksThroughItsStates() {
        MakeTree(200, 50);
        MakeWindow();
        QString captionWhileScanning, firstPaneWhileScanning, captionAfterAbort;
        bool enabledAfterAbort = true;
        bool blinkingWhileScanning = false;
        int glyphWhileScanning = -1;
        // The button is the abort button once the scan job itself runs (not while the fresh
        // catalog is being made).
        QTimer poll;
        poll.setInterval(1);
        connect(&poll, &QTimer::timeout, frm_.get(), [&] {
            if (!frm_->btnScan->isEnabled()) {
                return;
            }
            poll.stop();
            captionWhileScanning = frm_->btnScan->text();
            firstPaneWhileScanning = frm_->sbCaption1->text();
            glyphWhileScanning = frm_->GlyphIndex();
            blinkingWhileScanning = frm_->sbCaption2->Blinking();
            frm_->btnScan->click();
            captionAfterAbort = frm_->btnScan->text();
            enabledAfterAbort = frm_->btnScan->isEnabled();
        });
        poll.start();
        frm_->btnScan->click();

        QCOMPARE(captionWhileScanning, QStringLiteral("Abort"));
        QVERIFY(!firstPaneWhileScanning.isEmpty());
        QCOMPARE(glyphWhileScanning, 1);
        QVERIFY(blinkingWhileScanning);
        QCOMPARE(captionAfterAbort, QStringLiteral("Wait ..."));
        QVERIFY(!enabledAfterAbort);

        QCOMPARE(frm_->btnScan->text(), QStringLiteral("Scan Now"));
        QVERIFY(frm_->btnScan->isEnabled());
        QCOMPARE(frm_->sbCaption1->text(), QStringLiteral("Ready"));
        QCOMPARE(frm_->sbCaption2->text(), QStringLiteral("Scan aborted"));
        QCOMPARE(frm_->GlyphIndex(), 0);
        QVERIFY(!frm_->sbCaption2->Blinking());
        QVERIFY(CatalogRows() < 200 * 50);
        QCOMPARE(resultsCleared_, 1);
    }

    void completeFreshScanCataloguesEveryFile() {
        MakeTree(3, 4);
        MakeWindow();
        const QString today =
            QString::fromStdString(mirelon::DateText(mirelon::NowLocal())).left(10);
        frm_->btnScan->click();
        QCOMPARE(CatalogRows(), qint64(12));
        QCOMPARE(frm_->sbCaption1->text(), QStringLiteral("Ready"));
        QCOMPARE(frm_->sbCaption2->text(), QString());
        QVERIFY(frm_->lblLastScanned->text().startsWith(today));
        QCOMPARE(commands_->Run().ScannedCount(), 12);

        // Continue mode over the unchanged catalog adds nothing.
        state_->ScanOptions.SetFreshScanIndex(mirelon::kFreshScanContinue);
        frm_->btnScan->click();
        QCOMPARE(commands_->Run().ScannedCount(), 0);
        QCOMPARE(CatalogRows(), qint64(12));
    }

    // An update's counts end up in the second pane, whose hint holds them whole; a continued
    // scan with another method than the catalog's is refused there.
    void updateSaysWhatItDidAndAnotherMethodDoesNotContinue() {
        MakeTree(3, 4);
        // Files written moments before they are read are hashed again at the next update.
        for (int d = 0; d < 3; ++d) {
            for (int f = 0; f < 4; ++f) {
                QFile file(tree_->path() + QStringLiteral("/d%1/f%2.txt").arg(d).arg(f));
                QVERIFY(file.open(QIODevice::ReadWrite));
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                         QFileDevice::FileModificationTime));
            }
        }
        MakeWindow();
        frm_->btnScan->click();
        QVERIFY(QFile::remove(tree_->path() + QStringLiteral("/d0/f0.txt")));

        state_->ScanOptions.SetFreshScanIndex(mirelon::kFreshScanUpdate);
        frm_->btnScan->click();
        QCOMPARE(frm_->sbCaption1->text(), QStringLiteral("Ready"));
        const QString counts = QStringLiteral("11 unchanged, 0 changed, 0 new, 1 removed");
        QCOMPARE(frm_->sbCaption2->text(), counts);
        QCOMPARE(frm_->sbCaption2->toolTip(), counts);
        QCOMPARE(CatalogRows(), qint64(11));

        state_->ScanOptions.SetFreshScanIndex(mirelon::kFreshScanContinue);
        state_->ScanOptions.SetHashMethodIndex(3);
        frm_->btnScan->click();
        QCOMPARE(frm_->sbCaption1->text(), QStringLiteral("Error"));
        QCOMPARE(frm_->sbCaption2->text(),
                 QStringLiteral("the catalog holds MD5 checksums: continue with MD5, or choose an "
                                "update or a fresh scan to use CRC32"));
    }

    // A fresh scan deletes only a catalog: whatever else took the catalog's place stops it with
    // the reason in the status area, is left as it was, and nothing is scanned.
    void whatIsNotACatalogStopsAFreshScan() {
        MakeTree(2, 3);
        MakeWindow();
        const QString catalog = data_->filePath(QStringLiteral("files.db"));
        QVERIFY(QFile::remove(catalog));
        QFile notes(catalog);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("my notes\n");
        notes.close();

        frm_->btnScan->click();

        QCOMPARE(commands_->Run().ScannedCount(), 0);
        QVERIFY(!commands_->Run().ScanRunning());
        QCOMPARE(frm_->btnScan->text(), QStringLiteral("Scan Now"));
        QVERIFY(frm_->btnScan->isEnabled());
        QCOMPARE(frm_->sbCaption1->text(), QStringLiteral("Error"));
        QCOMPARE(frm_->sbCaption2->text(),
                 catalog + QStringLiteral(" is not a catalog; move it away or choose another "
                                          "folder"));
        QCOMPARE(frm_->GlyphIndex(), 0);
        QVERIFY(notes.open(QIODevice::ReadOnly));
        QCOMPARE(notes.readAll(), QByteArray("my notes\n"));
    }
};

QTEST_MAIN(ScanCommandsTest)
#include "scan_commands_test.moc"
