#include "app/startup_hooks.h"

#include "app/frm_main.h"
#include "session/shell_state.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace mirelon {

namespace {

int ExitCodeOf(TfrmMain& frmMain) {
    return frmMain.State().CatalogDatabase ? 0 : 1;
}

} // namespace

void InstallStartupHooks(TfrmMain& frmMain) {
    const QByteArray quitAfterStartup = qgetenv("MIRELON_QUIT_AFTER_STARTUP");
    const QString screenshot = QString::fromLocal8Bit(qgetenv("MIRELON_SCREENSHOT"));
    if (quitAfterStartup.isEmpty() && screenshot.isEmpty()) {
        return;
    }
    frmMain.SetMessageSink([](const QString& text) {
        std::fprintf(stderr, "mirelon: %s\n", text.toLocal8Bit().constData());
    });
    QObject::connect(&frmMain, &TfrmMain::StartupJobFinished, &frmMain, [&frmMain, screenshot] {
        if (screenshot.isEmpty()) {
            QCoreApplication::exit(ExitCodeOf(frmMain));
            return;
        }
        // Let the idle status paint first.
        QTimer::singleShot(300, &frmMain, [&frmMain, screenshot] {
            const bool saved = frmMain.grab().save(screenshot, "PNG");
            if (!saved) {
                std::fprintf(stderr, "mirelon: cannot write %s\n",
                             screenshot.toLocal8Bit().constData());
            }
            QCoreApplication::exit(saved ? ExitCodeOf(frmMain) : 2);
        });
    });
}

} // namespace mirelon
