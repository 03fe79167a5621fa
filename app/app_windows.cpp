#include "app/app_windows.h"

#include "app/scan_commands.h"
#include "exclusions/frm_excluded_folders.h"
#include "hash/hash_service.h"
#include "panels/frm_duplicate_files_options.h"
#include "panels/frm_scan_options.h"
#include "panels/inspector_rows.h"
#include "results/frm_query_results.h"
#include "results/query_commands.h"
#include "results/result_grid_model.h"
#include "session/shell_state.h"
#include "settings/rs_ini_data.h"
#include "settings/rs_prop_saver.h"

#include <QCursor>
#include <QSpinBox>

namespace mirelon {

namespace {

// The results window, with the three "Show Results" commands and their jobs on the main window.
std::unique_ptr<QWidget> MakeQueryResults(TfrmMain& frmMain, TShellState& state,
                                          TrsStorage* settings,
                                          const TfrmDuplicateFiles_Options& options,
                                          const TfrmDuplicateFiles_ExcludedFolders& excluded) {
    auto results = std::make_unique<TfrmQueryResults>(nullptr, settings);
    TfrmMain* main = &frmMain;
    TQueryCommandHost host;
    host.SetStatus = [main](bool busy, const QString& first, const QString& second) {
        main->SetStatus(busy, first, second);
    };
    host.RunJob = [main](std::string_view task) { return main->RunJob(task); };
    host.Months = [main] { return main->seMonths->value(); };
    // The options as they stand, whether or not "Ok" kept them.
    host.Filters = [&options, &excluded] {
        DuplicateFilters filters;
        filters.sameName = options.chkSameName->Checked();
        filters.extensions = ParseExtensionList(options.edtExtensions->Value().toStdString());
        filters.excludedFolders = excluded.ExcludedFolderList();
        return filters;
    };
    host.HashMethod = [&state] { return kHashMethodFirst + state.ScanOptions.HashMethodIndex(); };
    auto commands = std::make_shared<TQueryCommands>(std::move(host), *results);
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
    dispatcher.SetJob(kTaskRemoveFiles, [commands, &state](TThreadEx&) {
        commands->RemoveFilesJob(state.CatalogDatabase.get());
    });
    results->RunRemoval = [commands](const std::vector<FileRecord>& files, RemovalKind kind) {
        return commands->RemoveFiles(files, kind);
    };
    results->OnRefresh = [commands] { commands->Refresh(); };
    QObject::connect(&frmMain, &TfrmMain::JobRunningChanged, results.get(),
                     &TfrmQueryResults::SetJobRunning);
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

// rsStorage1 over the settings file, and the main window's PropSaver on it.
std::unique_ptr<TrsStorage> AttachSettings(TfrmMain& frmMain, const TShellState& state) {
    auto storage = std::make_unique<TrsStorage>();
    storage->SetStorageData(std::make_unique<TrsIniData>(SettingsFileName(state.DataDirectory)));
    storage->SetActive(true);
    auto* saver = new TrsPropSaver(&frmMain);
    saver->setObjectName(QStringLiteral("PropSaver"));
    saver->SetStorage(storage.get());
    saver->SetRootSection(QStringLiteral("frmMain.PropSaver"));
    saver->SetProperties({QStringLiteral("seMonths.Value")});
    saver->SetWhenLoad(wlOnCreate);
    saver->SetWhenSave(wsOnClose);
    saver->WindowCreated();
    return storage;
}

// Exclusion files that could not be read fully are told of once start-up has finished, after
// the catalog job has shown its result, in one message.
void TellOfDamagedExclusionFiles(TfrmMain& frmMain, const QStringList& notices) {
    QStringList told = notices;
    told.removeAll(QString());
    if (told.isEmpty()) {
        return;
    }
    QObject::connect(
        &frmMain, &TfrmMain::StartupJobFinished, &frmMain,
        [&frmMain, text = told.join(QStringLiteral("\n\n"))] { frmMain.ShowMessage(text); },
        Qt::SingleShotConnection);
}

// An "Options" button drops its panel down at the mouse pointer, below the main window.
std::function<void()> DropDownAtPointer(TfmDropDown& panel, QWidget& parentForm) {
    return [&panel, &parentForm] {
        const QPoint at = QCursor::pos();
        panel.ShowDropDown(&parentForm, at.x(), at.y(), -1, -1);
    };
}

} // namespace

TAppWindows::~TAppWindows() {
    frmQueryResults.reset();
    frmDuplicateFiles_Options.reset();
    frmDuplicateFiles_ExcludedFolders.reset();
    frmScan_Options.reset();
    frmScan_ExcludedFolders.reset();
    frmMain.reset();
    rsStorage1.reset();
}

TAppWindows CreateAppWindows(TShellState& state) {
    TAppWindows windows;
    windows.frmMain = std::make_unique<TfrmMain>(state);
    windows.rsStorage1 = AttachSettings(*windows.frmMain, state);
    TrsStorage* settings = windows.rsStorage1.get();

    auto scanExcluded = std::make_unique<TfrmScan_ExcludedFolders>(state.DataDirectory);
    // The scan reads the panel's live ticks at its start, whether or not "Ok" saved them.
    state.ScanExclusions = scanExcluded->ExclusionProvider();
    auto scanOptions = std::make_unique<TfrmScan_Options>(settings, &state.ScanOptions);
    scanOptions->SetExcludedFoldersPanel(scanExcluded.get());
    windows.frmMain->OnScanOptions = DropDownAtPointer(*scanOptions, *windows.frmMain);
    windows.frmScan_ExcludedFolders = std::move(scanExcluded);
    windows.frmScan_Options = std::move(scanOptions);

    auto duplicatesExcluded =
        std::make_unique<TfrmDuplicateFiles_ExcludedFolders>(state.DataDirectory);
    auto duplicatesOptions = std::make_unique<TfrmDuplicateFiles_Options>(settings);
    duplicatesOptions->SetExcludedFoldersPanel(duplicatesExcluded.get());
    windows.frmMain->OnDuplicateFilesOptions =
        DropDownAtPointer(*duplicatesOptions, *windows.frmMain);
    windows.frmDuplicateFiles_ExcludedFolders = std::move(duplicatesExcluded);
    windows.frmDuplicateFiles_Options = std::move(duplicatesOptions);

    TellOfDamagedExclusionFiles(
        *windows.frmMain,
        {static_cast<TfmExcludedFoldersPanel&>(*windows.frmScan_ExcludedFolders).DamageNotice(),
         static_cast<TfmExcludedFoldersPanel&>(*windows.frmDuplicateFiles_ExcludedFolders)
             .DamageNotice()});

    windows.frmQueryResults = MakeQueryResults(
        *windows.frmMain, state, settings,
        static_cast<const TfrmDuplicateFiles_Options&>(*windows.frmDuplicateFiles_Options),
        static_cast<const TfrmDuplicateFiles_ExcludedFolders&>(
            *windows.frmDuplicateFiles_ExcludedFolders));
    AttachScanCommands(*windows.frmMain, state,
                       static_cast<TfrmQueryResults&>(*windows.frmQueryResults));
    return windows;
}

} // namespace mirelon
