#include "app/app_windows.h"
#include "app/qt_window_thread.h"
#include "app/startup_hooks.h"
#include "session/data_directory.h"
#include "session/shell_state.h"

#include <QApplication>

int main(int argc, char** argv) {
    mirelon::TShellState state;
    // Fixed before any window exists, whatever the working directory.
    state.DataDirectory = mirelon::ApplicationDataDirectory();

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirelon"));
    QApplication::setApplicationDisplayName(QStringLiteral("Mirelon"));
    // Lets the desktop match the window to the installed menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(MIRELON_APP_ID));
    mirelon::InstallQtWindowThread();

    mirelon::TAppWindows windows = mirelon::CreateAppWindows(state);
    mirelon::InstallStartupHooks(*windows.frmMain);
    windows.frmMain->show();
    return QApplication::exec();
}
