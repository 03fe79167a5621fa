#include "app/app_windows.h"

#include "app/scan_commands.h"
#include "app/shell_state.h"
#include "query/frm_query_results.h"
#include "query/query_commands.h"
#include "query/result_grid_model.h"

#include <QSpinBox>

namespace mirelon {

namespace {

// Stands in for a window whose own code arrives later, so the creation order is already right.
std::unique_ptr<QWidget> MakePlaceholderWindow(const char* objectName) {
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
    window->setObjectName(QString::fromLatin1(objectName));
    window->setWindowTitle(QString::fromLatin1(objectName));
    return window;
}

// The results window, with the three "Show Results" commands and their jobs on the main window.
std::unique_ptr<QWidget> MakeQueryResults(TfrmMain& frmMain, TShellState& state) {
    auto results = std::make_unique<TfrmQueryResults>();
    TfrmMain* main = &frmMain;
    auto commands = std::make_shared<TQueryCommands>(
        TQueryCommandHost{[main](bool busy, const QString& first, const QString& second) {
                              main->SetStatus(busy, first, second);
                          },
                          [main](std::string_view task) { return main->RunJob(task); },
                          [main] { return main->seMonths->value(); }},
        *results);
    TTaskDispatcher& dispatcher = frmMain.Dispatcher();
    dispatcher.SetJob(kTaskFindOldFiles, [commands, &state](TThreadEx&) {
        commands->FindOldFiles(state.CatalogDatabase.get());
    });
    dispatcher.SetJob(kTaskFindDuplicateFiles, [commands, &state](TThreadEx&) {
        commands->FindDuplicateFiles(state.CatalogDatabase.get());
    });
    dispatcher.SetJob(kTaskUnusedDlls, [commands, &state](TThreadEx&) {
        commands->FindUnusedDlls(state.CatalogDatabase.get());
    });
    frmMain.OnShowOldFiles = [commands] { commands->btnOldFilesClick(); };
    frmMain.OnShowDuplicateFiles = [commands] { commands->btnDuplicateFilesClick(); };
    frmMain.OnShowUnusedDlls = [commands] { commands->btnUnusedDllsClick(); };
    return results;
}

// "Scan Now" and the "Scan Harddisk" job; a scan starts by emptying the results grid.
void AttachScanCommands(TfrmMain& frmMain, TShellState& state, TfrmQueryResults& results) {
    auto commands = std::make_shared<TScanCommands>(frmMain, state,
                                                    [&results] { results.Model().ClearRows(); });
    frmMain.OnScanNow = [commands] { commands->btnScanClick(); };
}

} // namespace

TAppWindows::~TAppWindows() {
    frmQueryResults.reset();
    frmDuplicateFiles_Options.reset();
    frmDuplicateFiles_ExcludedFolders.reset();
    frmScan_Options.reset();
    frmScan_ExcludedFolders.reset();
    frmMain.reset();
}

TAppWindows CreateAppWindows(TShellState& state) {
    TAppWindows windows;
    windows.frmMain = std::make_unique<TfrmMain>(state);
    windows.frmScan_ExcludedFolders = MakePlaceholderWindow("frmScan_ExcludedFolders");
    windows.frmScan_Options = MakePlaceholderWindow("frmScan_Options");
    windows.frmDuplicateFiles_ExcludedFolders =
        MakePlaceholderWindow("frmDuplicateFiles_ExcludedFolders");
    windows.frmDuplicateFiles_Options = MakePlaceholderWindow("frmDuplicateFiles_Options");
    windows.frmQueryResults = MakeQueryResults(*windows.frmMain, state);
    AttachScanCommands(*windows.frmMain, state,
                       static_cast<TfrmQueryResults&>(*windows.frmQueryResults));
    return windows;
}

} // namespace mirelon
