#include "app/app_windows.h"
#include "app/program_end.h"
#include "app/program_end_request.h"
#include "app/qt_window_thread.h"
#include "app/startup_hooks.h"
#include "app/termination_signals.h"
#include "session/data_directory.h"
#include "session/shell_state.h"

#include <QApplication>

#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv) {
    mirelon::TShellState state;
    // Fixed before any window exists, whatever the working directory.
    try {
        state.DataDirectory = mirelon::ApplicationDataDirectory();
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "mirelon: %s\n", error.what());
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirelon"));
    QApplication::setApplicationDisplayName(QStringLiteral("Mirelon"));
    // Lets the desktop match the window to the installed menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(MIRELON_APP_ID));
    mirelon::InstallQtWindowThread();
    // Caught from here on, so that a request to end the program during start-up waits for the
    // windows instead of ending it with the settings unwritten; delivered already while they are
    // made, since a settings error shown then waits for an answer.
    mirelon::TTerminationSignals terminationSignals;
    mirelon::TProgramEndRequest endRequest;
    QObject::connect(&terminationSignals, &mirelon::TTerminationSignals::Requested, &endRequest,
                     &mirelon::TProgramEndRequest::Request);
    terminationSignals.Start();

    mirelon::TAppWindows windows = mirelon::CreateAppWindows(state);
    mirelon::TfrmMain& frmMain = *windows.frmMain;
    mirelon::InstallStartupHooks(frmMain);
    mirelon::EndProgramWithMainWindow(frmMain);
    endRequest.MainWindowMade(frmMain);
    if (!endRequest.Requested()) {
        frmMain.show();
    }
    return QApplication::exec();
}
