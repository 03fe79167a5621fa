#include "app/qt_window_thread.h"
#include "tests/support/eventually.h"
#include "thread/thread_ex.h"
#include "thread/window_thread_registry.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

using namespace std::chrono_literals;
using mirelon::TThreadEx;

namespace {

// Blocks a job until released; bounded so a fault fails the test instead of hanging it.
void WaitFor(const std::atomic<bool>& flag) {
    mirelon::test::Eventually([&] { return flag.load(); });
}

void WaitUntilTerminated(TThreadEx& sender) {
    mirelon::test::Eventually([&] { return sender.Terminated(); });
}

} // namespace

// TThreadEx driven by the Qt event loop on the offscreen platform.
class QtWindowThreadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mirelon::InstallQtWindowThread(); }

    void windowStaysResponsiveWhileRunWaits() {
        QPushButton button;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&] { ++clicks; });
        std::atomic<bool> release{false};
        TThreadEx thread;
        thread.WaitThread = true;
        thread.OnExecute = [&](TThreadEx&) { WaitFor(release); };
        QTimer::singleShot(20, [&] { QTest::mouseClick(&button, Qt::LeftButton); });
        QTimer::singleShot(60, [&] { release = true; });
        QVERIFY(thread.Run());
        QCOMPARE(clicks, 1);
        QVERIFY(!thread.InProgress());
    }

    void jobCallsRunOnTheGuiThread() {
        QThread* ranOn = nullptr;
        TThreadEx thread;
        thread.WaitThread = true;
        thread.OnExecute = [&](TThreadEx& sender) {
            sender.RunOnWindowThread([&] { ranOn = QThread::currentThread(); });
        };
        QVERIFY(thread.Run());
        QCOMPARE(ranOn, QCoreApplication::instance()->thread());
    }

    void runWithoutWaitThreadReturnsAtOnce() {
        std::atomic<bool> release{false};
        std::atomic<bool> finished{false};
        TThreadEx thread;
        thread.OnExecute = [&](TThreadEx&) {
            WaitFor(release);
            finished = true;
        };
        QVERIFY(thread.Run());
        QVERIFY(thread.InProgress());
        QVERIFY(!finished);
        release = true;
        thread.Stop(true);
        QVERIFY(finished);
    }

    void jobThatRaisesEndsSilentlyAndTheNextRunWorks() {
        int runs = 0;
        int terminates = 0;
        TThreadEx thread;
        thread.WaitThread = true;
        thread.OnExecute = [&](TThreadEx&) {
            if (++runs == 1) {
                throw std::runtime_error("job failed");
            }
        };
        thread.OnTerminate = [&](TThreadEx&) { ++terminates; };
        QVERIFY(thread.Run());
        QVERIFY(thread.Run());
        QCOMPARE(runs, 2);
        QCOMPARE(terminates, 2);
    }

    void prioritySetBeforeARunCarriesOver() {
        std::vector<int> seen;
        TThreadEx thread;
        thread.WaitThread = true;
        thread.SetPriority(mirelon::tpLowest);
        thread.OnExecute = [&](TThreadEx&) {
            seen.push_back(
                mirelon::NativeThreadNice(mirelon::CurrentNativeThreadId()).value_or(-99));
        };
        thread.Run();
        thread.Run();
        const int lowest = mirelon::NiceValueOf(mirelon::tpLowest);
        QCOMPARE(seen, (std::vector<int>{lowest, lowest}));
        QCOMPARE(thread.Priority(), mirelon::tpLowest);
    }

    void streamOfEventsKeepsTheWaitGoingAndQuietEndsIt() {
        int ticks = 0;
        bool streamEnded = false;
        bool streamEndedAtExpiry = false;
        QTimer stream;
        stream.setInterval(20);
        connect(&stream, &QTimer::timeout, [&] {
            if (++ticks == 30) {
                stream.stop();
                streamEnded = true;
            }
        });
        TThreadEx thread;
        thread.WaitThread = true;
        thread.WaitTimeout = 300;
        thread.OnExecute = [](TThreadEx& sender) { WaitUntilTerminated(sender); };
        thread.OnWaitTimeoutExpired = [&](TThreadEx&, bool&) { streamEndedAtExpiry = streamEnded; };
        stream.start();
        QVERIFY(!thread.Run());
        QVERIFY(streamEndedAtExpiry);
        QCOMPARE(ticks, 30);
        QVERIFY(!thread.InProgress());
    }

    // Last: the application's quit leaves its mark on the window thread object in use.
    void quitRequestDuringRunReturnsEarly() {
        std::atomic<bool> release{false};
        bool returned = false;
        bool stillRunning = false;
        TThreadEx thread;
        thread.WaitThread = true;
        thread.OnExecute = [&](TThreadEx&) { WaitFor(release); };
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(50, [] { QCoreApplication::quit(); });
            returned = thread.Run();
            stillRunning = thread.InProgress();
        });
        QCoreApplication::exec();
        QVERIFY(returned);
        QVERIFY(stillRunning);
        release = true;
        thread.Stop(true);
        QVERIFY(!thread.InProgress());
    }
};

QTEST_MAIN(QtWindowThreadTest)
#include "qt_window_thread_test.moc"
