#include "app/app_windows.h"
#include "app/blinking_label.h"
#include "app/frm_main.h"
#include "app/navigation_bar.h"
#include "app/program_end.h"
#include "app/program_end_request.h"
#include "app/qt_window_thread.h"
#include "app/thread_ex_object.h"
#include "panels/dropdown_form.h"
#include "results/frm_query_results.h"
#include "session/shell_jobs.h"
#include "session/shell_state.h"
#include "settings/rs_ini_data.h"
#include "tests/support/drop_down_steps.h"
#include "tests/support/eventually.h"
#include "tests/support/message_box_steps.h"
#include "tests/support/process_signal.h"
#include "thread/thread_ex.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <csignal>
#include <memory>
#include <stdexcept>
#include <thread>

using namespace std::chrono_literals;
using mirelon::TfrmMain;
using mirelon::TThreadEx;

namespace {

// Keeps a job going until released or stopped; bounded so a fault cannot hang the test.
void HoldJob(TThreadEx& sender, const std::atomic<bool>& release) {
    mirelon::test::Eventually([&] { return release || sender.Terminated(); });
}

// The program's own event loop, as main runs it; a fault that keeps the program alive ends the
// loop with 99 instead of hanging the test.
int RunProgramLoop() {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        QWARN("watchdog ended the program loop");
        QCoreApplication::exit(99);
    });
    watchdog.start(20000);
    return QApplication::exec();
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> directory_;
    std::unique_ptr<mirelon::TShellState> state_;
    std::unique_ptr<TfrmMain> frm_;
    QStringList messages_;

    // A main window on a fresh data directory whose start-up timer is held back.
    TfrmMain& MakeWindow() {
        directory_ = std::make_unique<QTemporaryDir>();
        state_ = std::make_unique<mirelon::TShellState>();
        state_->DataDirectory = directory_->path().toStdString() + "/";
        frm_ = std::make_unique<TfrmMain>(*state_);
        frm_->tmrAfterShow->stop();
        frm_->SetMessageSink([this](const QString& text) { messages_.append(text); });
        return *frm_;
    }

    QString PageText(int page) const {
        const auto labels = frm_->pcMain->widget(page)->findChildren<QLabel*>();
        return labels.size() > 1 ? labels[1]->text() : QString();
    }

private slots:
    void initTestCase() { mirelon::InstallQtWindowThread(); }

    void init() { messages_.clear(); }

    void cleanup() {
        frm_.reset();
        state_.reset();
        directory_.reset();
    }

    void windowAsLaidOut() {
        TfrmMain& frm = MakeWindow();
        QCOMPARE(frm.windowTitle(), QStringLiteral("Mirelon"));
        QCOMPARE(frm.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(frm.minimumSize(), QSize(544, 366));
        QCOMPARE(frm.maximumSize(), QSize(544, 366));
        QVERIFY(!(frm.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(frm.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(frm.navMain->geometry(), QRect(0, 0, 200, 300));
        QCOMPARE(frm.pcMain->geometry(), QRect(200, 0, 344, 300));
        QCOMPARE(frm.StatusBar->geometry(), QRect(0, 347, 544, 19));

        const char* names[] = {"navMain",           "hdrScanHarddisk",
                               "hdrOldFiles",       "hdrDuplicateFiles",
                               "hdrUnusedDlls",     "gbLastScanned",
                               "lblLastScanned",    "btnScan",
                               "btnScanOptions",    "gbFindFilesOlderThan",
                               "seMonths",          "btnOldFiles",
                               "btnDuplicateFiles", "btnDuplicateFilesOptions",
                               "btnUnusedDlls",     "pcMain",
                               "btnHelp",           "btnExit",
                               "sbGlyph",           "sbCaption1",
                               "sbCaption2",        "tmrAfterShow",
                               "thHelperThread"};
        for (const char* name : names) {
            QVERIFY2(frm.findChild<QObject*>(QString::fromLatin1(name)) != nullptr, name);
        }
    }

    void navigationPagesAndTexts() {
        TfrmMain& frm = MakeWindow();
        const QStringList titles = {"Scan Harddisk", "Find Old Files", "Find Duplicate Files",
                                    "Find Unused Dlls"};
        QCOMPARE(frm.navMain->Count(), 4);
        QCOMPARE(frm.pcMain->count(), 4);
        QCOMPARE(frm.navMain->CurrentIndex(), 0);
        QCOMPARE(frm.pcMain->currentIndex(), 0);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(frm.navMain->Header(i)->text(), titles[i]);
            QCOMPARE(frm.navMain->Header(i)->height(), 32);
            QLabel* header = frm.pcMain->widget(i)->findChildren<QLabel*>().value(0);
            QVERIFY(header != nullptr);
            QCOMPARE(header->text(), titles[i]);
            QVERIFY(header->font().bold());
            QCOMPARE(header->font().pixelSize(), 13);
        }
        QCOMPARE(PageText(1), QStringLiteral("Files which have not been used in a certain period "
                                             "of time (i.e. 0ne year) are probably useless.\n"
                                             "However inspect the returned results before "
                                             "archiving."));
        QVERIFY(PageText(0).contains(QStringLiteral("an hour.\n\nClick the \"Scan Now\" button")));
        QVERIFY(PageText(2).contains(QStringLiteral("you don't know.\n\nUse the options")));
        QVERIFY(!PageText(3).contains(QLatin1Char('\r')));
        QCOMPARE(PageText(3).count(QLatin1Char('\n')), 2);
    }

    void controlsOfThePages() {
        TfrmMain& frm = MakeWindow();
        QCOMPARE(frm.lblLastScanned->text(), QStringLiteral("Never"));
        QCOMPARE(frm.lblLastScanned->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        QCOMPARE(frm.seMonths->minimum(), 1);
        QCOMPARE(frm.seMonths->maximum(), 60);
        QCOMPARE(frm.seMonths->value(), 12);
        QCOMPARE(frm.btnScan->text(), QStringLiteral("Scan Now"));
        QCOMPARE(frm.btnScanOptions->text(), QStringLiteral("Options"));
        QCOMPARE(frm.btnOldFiles->text(), QStringLiteral("Show Results"));
        QCOMPARE(frm.btnDuplicateFiles->text(), QStringLiteral("Show Results"));
        QCOMPARE(frm.btnDuplicateFilesOptions->text(), QStringLiteral("Options"));
        QCOMPARE(frm.btnUnusedDlls->text(), QStringLiteral("Show Results"));
        for (QPushButton* bold :
             {frm.btnScan, frm.btnScanOptions, frm.btnOldFiles, frm.btnDuplicateFiles,
              frm.btnDuplicateFilesOptions, frm.btnUnusedDlls}) {
            QVERIFY2(bold->font().bold(), qPrintable(bold->objectName()));
        }
        QCOMPARE(frm.btnHelp->text(), QStringLiteral("&Help"));
        QCOMPARE(frm.btnExit->text(), QStringLiteral("E&xit"));
        QCOMPARE(frm.tmrAfterShow->interval(), 1000);
        QVERIFY(frm.thHelperThread->WaitThread());
        QCOMPARE(frm.sbCaption1->width(), 50);
        QCOMPARE(frm.sbCaption1->toolTip(), QStringLiteral("Files scanned."));
        QCOMPARE(frm.sbCaption2->toolTip(), QStringLiteral("Scanning folder."));
        QCOMPARE(frm.GlyphIndex(), 1);
    }

    void setStatusBusyThenIdle() {
        TfrmMain& frm = MakeWindow();
        frm.SetStatus(true, "Wait", "Loading Data ...");
        QCOMPARE(frm.GlyphIndex(), 1);
        QCOMPARE(frm.sbCaption1->text(), QStringLiteral("Wait"));
        QCOMPARE(frm.sbCaption2->text(), QStringLiteral("Loading Data ..."));
        QVERIFY(frm.sbCaption2->Blinking());
        QVERIFY(frm.sbCaption2->font().bold());
        QVERIFY(frm.sbGlyph->pixmap().toImage() != QPixmap().toImage());
        const QImage busyLamp = frm.sbGlyph->pixmap().toImage();

        frm.SetStatus(false, "Ready", "");
        QCOMPARE(frm.GlyphIndex(), 0);
        QCOMPARE(frm.sbCaption1->text(), QStringLiteral("Ready"));
        QCOMPARE(frm.sbCaption2->text(), QString());
        QVERIFY(!frm.sbCaption2->Blinking());
        QVERIFY(!frm.sbCaption2->font().bold());
        QCOMPARE(frm.sbGlyph->pixmap().size(), QSize(16, 16));
        QVERIFY(frm.sbGlyph->pixmap().toImage() != busyLamp);
    }

    void busyCaptionBlinks() {
        mirelon::TBlinkingLabel label;
        label.SetBlinking(true);
        QVERIFY(label.TextShown());
        QTRY_VERIFY(!label.TextShown());
        QTRY_VERIFY(label.TextShown());
        label.SetBlinking(false);
        QVERIFY(label.TextShown());
    }

    void timerWaitsForTheWindowAndRunsTheCatalogJobOnce() {
        TfrmMain& frm = MakeWindow();
        int created = 0;
        int finished = 0;
        frm.Dispatcher().SetJob(mirelon::kTaskCreateDatabase, [&](TThreadEx&) { ++created; });
        connect(&frm, &TfrmMain::StartupJobFinished, [&] { ++finished; });
        frm.tmrAfterShow->setInterval(10);
        frm.tmrAfterShow->start();
        QTest::qWait(150);
        QCOMPARE(created, 0);
        QVERIFY(frm.tmrAfterShow->isActive());

        frm.show();
        QTRY_COMPARE(finished, 1);
        QCOMPARE(created, 1);
        QVERIFY(!frm.tmrAfterShow->isActive());
        QCOMPARE(frm.sbCaption1->text(), QStringLiteral("Ready"));
        QCOMPARE(frm.GlyphIndex(), 0);
        QTest::qWait(150);
        QCOMPARE(created, 1);
        QCOMPARE(state_->TaskName, std::string("Create Database"));
    }

    void startUpOpensTheCatalogInTheDataDirectory() {
        TfrmMain& frm = MakeWindow();
        frm.tmrAfterShow->setInterval(10);
        frm.tmrAfterShow->start();
        frm.show();
        QTRY_VERIFY(state_->CatalogDatabase != nullptr);
        QTRY_COMPARE(frm.sbCaption1->text(), QStringLiteral("Ready"));
        QVERIFY(QFile::exists(directory_->filePath("files.db")));
        QVERIFY(messages_.isEmpty());
    }

    void failedCatalogJobIsReported() {
        TfrmMain& frm = MakeWindow();
        state_->DataDirectory = directory_->filePath("missing/deeper/").toStdString();
        frm.tmrAfterShow->setInterval(10);
        frm.tmrAfterShow->start();
        frm.show();
        QTRY_COMPARE(messages_.size(), 1);
        QVERIFY(state_->CatalogDatabase == nullptr);
        QVERIFY(!state_->CatalogFailure.empty());
        const QString failure = QString::fromStdString(state_->CatalogFailure);
        QCOMPARE(messages_[0], failure);
        QVERIFY(frm.sbCaption1->text() != QStringLiteral("Ready"));
        QCOMPARE(frm.sbCaption2->text(), failure);
        QCOMPARE(frm.GlyphIndex(), 0);
    }

    void laterFailedJobShowsItsTextInTheStatus() {
        TfrmMain& frm = MakeWindow();
        frm.Dispatcher().SetJob(mirelon::kTaskFindOldFiles,
                                [](TThreadEx&) { throw std::runtime_error("query failed"); });
        const std::string failure = frm.RunJob(mirelon::kTaskFindOldFiles);
        QCOMPARE(failure, std::string("query failed"));
        frm.SetIdleStatus(failure);
        QCOMPARE(frm.sbCaption2->text(), QStringLiteral("query failed"));
        QCOMPARE(frm.RunJob(mirelon::kTaskFindOldFiles), std::string("query failed"));
    }

    void unknownTaskNameRunsNothing() {
        TfrmMain& frm = MakeWindow();
        int runs = 0;
        for (const std::string_view name :
             {mirelon::kTaskCreateDatabase, mirelon::kTaskScanHarddisk, mirelon::kTaskFindOldFiles,
              mirelon::kTaskFindDuplicateFiles}) {
            frm.Dispatcher().SetJob(name, [&](TThreadEx&) { ++runs; });
        }
        QCOMPARE(frm.RunJob(mirelon::kTaskUnusedDlls), std::string());
        QCOMPARE(frm.RunJob("scan harddisk"), std::string());
        QCOMPARE(frm.RunJob(""), std::string());
        QCOMPARE(runs, 0);
        QCOMPARE(frm.RunJob(mirelon::kTaskScanHarddisk), std::string());
        QCOMPARE(runs, 1);
    }

    void commandsThatNeedTheCatalogSayWhyNot() {
        TfrmMain& frm = MakeWindow();
        int started = 0;
        frm.OnScanNow = [&] { ++started; };
        frm.OnShowOldFiles = [&] { ++started; };
        frm.OnShowDuplicateFiles = [&] { ++started; };
        state_->CatalogFailure = "unable to open database file";
        frm.btnScan->click();
        frm.btnOldFiles->click();
        frm.btnDuplicateFiles->click();
        QCOMPARE(started, 0);
        QCOMPARE(messages_.size(), 3);
        for (const QString& message : messages_) {
            QCOMPARE(message,
                     QStringLiteral("The catalog is not open: unable to open database file"));
        }

        messages_.clear();
        mirelon::CreateCatalog(*state_);
        frm.btnScan->click();
        frm.btnOldFiles->click();
        frm.btnDuplicateFiles->click();
        QCOMPARE(started, 3);
        QVERIFY(messages_.isEmpty());
    }

    void pageAreaFollowsTheNavigationBarAlsoDuringAJob() {
        TfrmMain& frm = MakeWindow();
        frm.navMain->SetCurrentIndex(2);
        QCOMPARE(frm.pcMain->currentIndex(), 0); // not mirrored while hidden
        frm.navMain->SetCurrentIndex(0);
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.navMain->Header(1), Qt::LeftButton);
        QCOMPARE(frm.pcMain->currentIndex(), 1);

        std::atomic<bool> release{false};
        frm.Dispatcher().SetJob(mirelon::kTaskFindOldFiles,
                                [&](TThreadEx& sender) { HoldJob(sender, release); });
        int pageDuringJob = -1;
        bool jobWasRunning = false;
        QTimer::singleShot(30, [&] {
            QTest::mouseClick(frm.navMain->Header(2), Qt::LeftButton);
            pageDuringJob = frm.pcMain->currentIndex();
            // The worker may not have been scheduled yet on a busy machine.
            jobWasRunning =
                mirelon::test::Eventually([&] { return frm.HelperThread().IsRunning(); });
            release = true;
        });
        QCOMPARE(frm.RunJob(mirelon::kTaskFindOldFiles), std::string());
        QVERIFY(jobWasRunning);
        QCOMPARE(pageDuringJob, 2);
        QCOMPARE(frm.navMain->CurrentIndex(), 2);
    }

    void commandsThatStartJobsAreDisabledDuringAJob() {
        TfrmMain& frm = MakeWindow();
        std::atomic<bool> release{false};
        const auto hold = [&](TThreadEx& sender) { HoldJob(sender, release); };
        frm.Dispatcher().SetJob(mirelon::kTaskFindOldFiles, hold);
        frm.Dispatcher().SetJob(mirelon::kTaskScanHarddisk, hold);
        const auto enabled = [&] {
            return QList<bool>{frm.btnScan->isEnabled(), frm.btnOldFiles->isEnabled(),
                               frm.btnDuplicateFiles->isEnabled(), frm.btnUnusedDlls->isEnabled()};
        };
        QList<bool> duringQuery;
        QList<bool> duringScan;
        QString secondJob;
        QTimer::singleShot(20, [&] {
            duringQuery = enabled();
            secondJob = QString::fromStdString(frm.RunJob(mirelon::kTaskScanHarddisk));
            release = true;
        });
        frm.RunJob(mirelon::kTaskFindOldFiles);
        QCOMPARE(duringQuery, (QList<bool>{false, false, false, false}));
        QVERIFY(!secondJob.isEmpty());
        QCOMPARE(enabled(), (QList<bool>{true, true, true, true}));

        release = false;
        QTimer::singleShot(20, [&] {
            duringScan = enabled();
            release = true;
        });
        frm.RunJob(mirelon::kTaskScanHarddisk);
        QCOMPARE(duringScan, (QList<bool>{true, false, false, false}));
        QCOMPARE(enabled(), (QList<bool>{true, true, true, true}));
    }

    void closingDuringAJobWaitsForItThenReleasesTheCatalog() {
        TfrmMain& frm = MakeWindow();
        mirelon::CreateCatalog(*state_);
        std::atomic<bool> stop{false};
        std::atomic<bool> catalogDuringJob{false};
        int stopRequests = 0;
        frm.RequestJobStop = [&] {
            ++stopRequests;
            stop = true;
        };
        frm.Dispatcher().SetJob(mirelon::kTaskScanHarddisk, [&](TThreadEx& sender) {
            HoldJob(sender, stop);
            std::this_thread::sleep_for(20ms);
            catalogDuringJob = state_->CatalogDatabase != nullptr;
        });
        frm.show();
        bool closedAtOnce = true;
        QTimer::singleShot(20, [&] { closedAtOnce = frm.close(); });
        frm.RunJob(mirelon::kTaskScanHarddisk);
        QVERIFY(!closedAtOnce);
        QCOMPARE(stopRequests, 1);
        QVERIFY(catalogDuringJob);
        QVERIFY(frm.isVisible());
        QTRY_VERIFY(!frm.isVisible());
        QVERIFY(state_->CatalogDatabase == nullptr);
    }

    void closingWithoutACatalogCloses() {
        TfrmMain& frm = MakeWindow();
        frm.show();
        QVERIFY(frm.close());
        QVERIFY(!frm.isVisible());
        QVERIFY(state_->CatalogDatabase == nullptr);
    }

    void exitClosesAndHelpDoesNothing() {
        TfrmMain& frm = MakeWindow();
        frm.show();
        frm.SetStatus(false, "Ready", "");
        frm.btnHelp->click();
        QVERIFY(frm.isVisible());
        QCOMPARE(frm.sbCaption1->text(), QStringLiteral("Ready"));
        QVERIFY(messages_.isEmpty());
        frm.btnExit->click();
        QVERIFY(!frm.isVisible());
    }

    void sixWindowsAreCreatedMainFirst() {
        QTemporaryDir dataDir; // the settings file is written there when the windows go
        mirelon::TShellState state;
        state.DataDirectory = dataDir.path().toStdString() + "/";
        mirelon::TAppWindows windows = mirelon::CreateAppWindows(state);
        QVERIFY(windows.frmMain != nullptr);
        windows.frmMain->tmrAfterShow->stop();
        const std::pair<QWidget*, const char*> others[] = {
            {windows.frmScan_ExcludedFolders.get(), "frmScan_ExcludedFolders"},
            {windows.frmScan_Options.get(), "frmScan_Options"},
            {windows.frmDuplicateFiles_ExcludedFolders.get(), "frmDuplicateFiles_ExcludedFolders"},
            {windows.frmDuplicateFiles_Options.get(), "frmDuplicateFiles_Options"},
            {windows.frmQueryResults.get(), "frmQueryResults"},
        };
        for (const auto& [window, name] : others) {
            QVERIFY2(window != nullptr, name);
            QCOMPARE(window->objectName(), QString::fromLatin1(name));
            QVERIFY(window->isWindow());
            QVERIFY(!window->isVisible());
        }
    }

    void exitEndsTheProgramWithEveryWindowAndWritesTheSettingsOnce() {
        QTemporaryDir dataDir;
        mirelon::TShellState state;
        state.DataDirectory = dataDir.path().toStdString() + "/";
        const QString settings =
            QString::fromStdString(mirelon::SettingsFileName(state.DataDirectory));
        {
            mirelon::TAppWindows windows = mirelon::CreateAppWindows(state);
            TfrmMain& frm = *windows.frmMain;
            frm.tmrAfterShow->stop();
            mirelon::EndProgramWithMainWindow(frm);
            auto& results = static_cast<mirelon::TfrmQueryResults&>(*windows.frmQueryResults);
            frm.show();
            results.Show();
            frm.seMonths->setValue(7);
            results.Grid().setColumnWidth(0, 333);
            int closed = 0;
            connect(&frm, &TfrmMain::Closed, [&] { ++closed; });

            QTimer::singleShot(0, frm.btnExit, &QPushButton::click);
            QCOMPARE(RunProgramLoop(), 0);
            QCOMPARE(closed, 1);
            QVERIFY(!frm.isVisible());
            QVERIFY(!results.isVisible());
            // Nothing is written until the windows go.
            QVERIFY(!QFile::exists(settings));
        }
        const QByteArray written = FileBytes(settings);
        QVERIFY2(written.startsWith("[frmMain.PropSaver]\r\nFormPlacement=\""), written);
        QVERIFY(written.endsWith("\r\nseMonths.Value=7\r\n\r\n"));
        // Ended with the program, not closed by its user: the results window keeps no widths.
        QVERIFY(!written.contains("frmQueryResults"));
    }

    void damagedSettingsAreToldWithFileAndKeyAndWindowsOpenWithinReach() {
        QTemporaryDir dataDir;
        mirelon::TShellState state;
        state.DataDirectory = dataDir.path().toStdString() + "/";
        const QString settings =
            QString::fromStdString(mirelon::SettingsFileName(state.DataDirectory));
        // Placements from a monitor far away, and a hash method of 20 MB.
        QFile file(settings);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[frmMain.PropSaver]\r\n"
                   "FormPlacement=\"0,1,-1,-1,-1,-1,99999999,99999999,100000543,100000365\"\r\n"
                   "seMonths.Value=7\r\n\r\n"
                   "[frmQueryResults.rsPropSaver1]\r\n"
                   "FormPlacement=\"0,1,-1,-1,-1,-1,-90000,-90000,-89300,-89700\"\r\n\r\n"
                   "[frmScan_Options.PropSaver]\r\ncboHashMethod.ItemIndex=");
        file.write(QByteArray(20'000'000, '7') + 'x');
        file.write("\r\n");
        file.close();

        QStringList shown;
        mirelon::test::WhenMessageBoxShows([&](QMessageBox& box) {
            shown << box.text();
            box.reject();
        });
        mirelon::TAppWindows windows = mirelon::CreateAppWindows(state);
        TfrmMain& frm = *windows.frmMain;
        frm.tmrAfterShow->stop();
        // The store's own text with the value cut short, then where to look.
        QCOMPARE(shown, QStringList{"'" + QString(80, '7') + QChar(0x2026) +
                                    "' is not a valid integer value\n\nSettings file: " +
                                    settings +
                                    "\nKey: cboHashMethod.ItemIndex in section "
                                    "[frmScan_Options.PropSaver]"});
        QCOMPARE(frm.seMonths->value(), 7);

        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QVERIFY(area.contains(frm.geometry()));
        auto& results = static_cast<mirelon::TfrmQueryResults&>(*windows.frmQueryResults);
        results.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&results));
        QVERIFY(area.contains(results.geometry()));
        QCOMPARE(results.size(), QSize(700, 300));
    }

    void endRequestAnswersTheBoxAndLeavesThePanelBeforeClosing() {
        QTemporaryDir dataDir;
        mirelon::TShellState state;
        state.DataDirectory = dataDir.path().toStdString() + "/";
        mirelon::TAppWindows windows = mirelon::CreateAppWindows(state);
        TfrmMain& frm = *windows.frmMain;
        frm.tmrAfterShow->stop();
        mirelon::EndProgramWithMainWindow(frm);
        auto& options = static_cast<mirelon::TfmDropDown&>(*windows.frmScan_Options);
        options.SetRollDownSpeed(0);
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));

        int boxAnswer = -1;
        bool panelOpenWhenBoxAnswered = false;
        bool panelOpenAtClose = true;
        bool boxOpenAtClose = true;
        QPointer<QMessageBox> box;
        connect(&frm, &TfrmMain::Closed, [&] {
            panelOpenAtClose = options.IsDropped();
            boxOpenAtClose = box != nullptr && box->isVisible();
        });
        // The user has the scan options open and, over them, a message not yet answered.
        mirelon::test::WhenDropped(options, [&] {
            mirelon::test::WhenMessageBoxShows([&](QMessageBox& shown) {
                box = &shown;
                connect(&shown, &QDialog::finished, [&](int answer) {
                    boxAnswer = answer;
                    panelOpenWhenBoxAnswered = options.IsDropped();
                });
                mirelon::RequestProgramEnd(frm);
            });
            frm.ShowMessage(QStringLiteral("Not answered yet."));
        });
        QTimer::singleShot(0, frm.btnScanOptions, &QPushButton::click);
        QCOMPARE(RunProgramLoop(), 0);

        // Innermost first: the box as with Cancel, then the panel, then the main window.
        QCOMPARE(boxAnswer, int(QDialog::Rejected));
        QVERIFY(panelOpenWhenBoxAnswered);
        QVERIFY(!boxOpenAtClose);
        QVERIFY(!panelOpenAtClose);
        QVERIFY(!frm.isVisible());
    }

    void endRequestWhileTheWindowsAreMadeAnswersEveryBoxThenEnds() {
        QTemporaryDir dataDir;
        mirelon::TShellState state;
        state.DataDirectory = dataDir.path().toStdString() + "/";
        const QString settings =
            QString::fromStdString(mirelon::SettingsFileName(state.DataDirectory));
        // Two windows whose settings cannot be read: two error boxes while the windows are made.
        QFile file(settings);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[frmMain.PropSaver]\r\nseMonths.Value=abc\r\n\r\n"
                   "[frmScan_Options.PropSaver]\r\ncboHashMethod.ItemIndex=abc\r\n");
        file.close();

        // The request comes while the first box waits for its answer.
        mirelon::TProgramEndRequest endRequest;
        int boxes = 0;
        QPointer<QMessageBox> last;
        QTimer watch;
        watch.setInterval(5);
        connect(&watch, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible() || box == last) {
                return;
            }
            last = box;
            if (++boxes == 1) {
                endRequest.Request();
            }
        });
        watch.start();
        // Boxes left waiting fail the test instead of hanging it.
        bool stuck = false;
        QTimer unstick;
        connect(&unstick, &QTimer::timeout, [&] {
            unstick.setInterval(100);
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                stuck = true;
                dialog->reject();
            }
        });
        unstick.start(10000);
        {
            mirelon::TAppWindows windows = mirelon::CreateAppWindows(state);
            watch.stop();
            unstick.stop();
            QCOMPARE(boxes, 2);
            QVERIFY(!stuck);
            TfrmMain& frm = *windows.frmMain;
            mirelon::EndProgramWithMainWindow(frm);
            endRequest.MainWindowMade(frm);
            QVERIFY(endRequest.Requested());
            QCOMPARE(RunProgramLoop(), 0);
            QVERIFY(!frm.isVisible());
        }
        // Closed as the user closes it: its settings saved, then written with the rest.
        const QByteArray written = FileBytes(settings);
        QVERIFY2(written.startsWith("[frmMain.PropSaver]\r\nFormPlacement=\""), written);
        QVERIFY(written.contains("\r\nseMonths.Value=12\r\n\r\n[frmScan_Options.PropSaver]\r\n"));
    }

    void terminationSignalEndsTheProgramAsClosingItDoes_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void terminationSignalEndsTheProgramAsClosingItDoes() {
        QFETCH(int, signalNumber);
        // A folder of its own: the settings and the catalog live beside the program.
        QTemporaryDir programDir;
        const QString program = programDir.filePath(QStringLiteral("mirelon"));
        QVERIFY(QFile::copy(QStringLiteral(MIRELON_EXE), program));
        const QString settings = programDir.filePath(QStringLiteral("mirelon.ini"));
        QFile earlier(settings);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("[Earlier.Section]\r\nkept=\"as it was\"\r\n\r\n"
                      "[frmMain.PropSaver]\r\nseMonths.Value=7\r\n");
        earlier.close();
        // A damaged exclusion file, so that a message box is open when the signal comes.
        QFile damaged(programDir.filePath(QStringLiteral("Scan_Exclusions.txt")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("damaged");
        damaged.close();

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(programDir.path());
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        QVERIFY(mirelon::test::Eventually(
            [&] { return QFile::exists(programDir.filePath(QStringLiteral("files.db"))); },
            std::chrono::seconds(60)));
        QTest::qWait(500);
        mirelon::test::SendSignal(process.processId(), signalNumber);

        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QByteArray written = FileBytes(settings);
        QVERIFY2(written.startsWith("[Earlier.Section]\r\nkept=\"as it was\"\r\n\r\n"
                                    "[frmMain.PropSaver]\r\nFormPlacement=\""),
                 written);
        QVERIFY(written.endsWith("\r\nseMonths.Value=7\r\n\r\n"));
        QVERIFY(QFile::exists(programDir.filePath(QStringLiteral("Scan_Exclusions.txt.damaged"))));
    }

    void startedFromAnotherDirectoryTheCatalogIsNextToTheExecutable() {
        QTemporaryDir programDir;
        QTemporaryDir workingDir;
        const QString program = programDir.filePath(QStringLiteral("mirelon"));
        QVERIFY(QFile::copy(QStringLiteral(MIRELON_EXE), program));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("MIRELON_QUIT_AFTER_STARTUP"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(workingDir.path());
        process.start(program, {});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QFile::exists(programDir.filePath(QStringLiteral("files.db"))));
        QVERIFY(QDir(workingDir.path()).isEmpty());
    }

    // Installed in a bin folder, the program writes nothing there: its data goes to the user's
    // data folder, made when missing.
    void installedTheCatalogIsInTheUsersDataFolder() {
        QTemporaryDir prefix;
        QTemporaryDir dataHome;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        const QString program = prefix.filePath(QStringLiteral("bin/mirelon"));
        QVERIFY(QFile::copy(QStringLiteral(MIRELON_EXE), program));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("MIRELON_QUIT_AFTER_STARTUP"), QStringLiteral("1"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
        process.setProcessEnvironment(environment);
        process.start(program, {});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QFile::exists(dataHome.filePath(QStringLiteral("mirelon/files.db"))));
        QCOMPARE(QDir(prefix.filePath(QStringLiteral("bin"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("mirelon")});
    }
};

QTEST_MAIN(FrmMainTest)
#include "frm_main_test.moc"
