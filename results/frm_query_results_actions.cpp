// TfrmQueryResults: what the user does with the rows found — remove them, select the copies
// to remove, search again, open, copy, save.

#include "results/frm_query_results.h"

#include "base/message_text.h"
#include "cleanup/removal_summary.h"
#include "query/column_order.h"
#include "query/duplicate_filters.h"
#include "query/grid_columns.h"
#include "query/result_list_writer.h"
#include "results/result_grid_model.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace mirelon {

namespace {

// Failures named in the status hint; the rest are counted.
constexpr int kFailuresInHint = 20;

QString FromBytes(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FilesText(std::size_t count) {
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

// The dialogs' answer, by the role of the button pressed.
QAbstractButton* Ask(QWidget* parent, const QString& title, const QString& text,
                     const QString& details, const std::vector<QPushButton*>& buttons,
                     QPushButton* defaultButton, QMessageBox& box) {
    box.setParent(parent, Qt::Dialog);
    box.setWindowTitle(title);
    box.setIcon(QMessageBox::Question);
    box.setText(text);
    box.setInformativeText(details);
    for (QPushButton* button : buttons) {
        box.addButton(button, QMessageBox::AcceptRole);
    }
    box.setDefaultButton(defaultButton);
    box.exec();
    return box.clickedButton();
}

} // namespace

void TfrmQueryResults::BuildMenus() {
    pmGrid = new QMenu(this);
    pmGrid->setObjectName("pmGrid");
    mnuDeleteselecteditems = pmGrid->addAction("Delete selected items");
    mnuDeleteselecteditems->setObjectName("mnuDeleteselecteditems");
    connect(mnuDeleteselecteditems, &QAction::triggered, this,
            &TfrmQueryResults::mnuDeleteselecteditemsClick);
    mnuRefresh = pmGrid->addAction("Refresh");
    mnuRefresh->setObjectName("mnuRefresh");
    connect(mnuRefresh, &QAction::triggered, this, &TfrmQueryResults::btnRefreshClick);
    pmGrid->addSeparator();
    QAction* mnuOpenFolder = pmGrid->addAction("Open folder");
    mnuOpenFolder->setObjectName("mnuOpenFolder");
    connect(mnuOpenFolder, &QAction::triggered, this, &TfrmQueryResults::mnuOpenFolderClick);
    QAction* mnuCopyPath = pmGrid->addAction("Copy path");
    mnuCopyPath->setObjectName("mnuCopyPath");
    connect(mnuCopyPath, &QAction::triggered, this, &TfrmQueryResults::mnuCopyPathClick);
    pmGrid->addSeparator();
    QAction* mnuSaveList = pmGrid->addAction("Save list...");
    mnuSaveList->setObjectName("mnuSaveList");
    connect(mnuSaveList, &QAction::triggered, this, &TfrmQueryResults::btnSaveListClick);

    pmSelectDuplicates = new QMenu(this);
    pmSelectDuplicates->setObjectName("pmSelectDuplicates");
    const auto addRule = [this](const char* name, const QString& caption, KeepRule rule) {
        QAction* action = pmSelectDuplicates->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, rule] { SelectDuplicates(rule); });
    };
    addRule("mnuKeepOldest", "Keep the oldest", KeepRule::Oldest);
    addRule("mnuKeepNewest", "Keep the newest", KeepRule::Newest);
    addRule("mnuKeepShortestPath", "Keep the shortest path", KeepRule::ShortestPath);
    addRule("mnuKeepInsideFolder", "Keep the ones inside a folder...", KeepRule::InsideFolder);
    btnSelectDuplicates->setMenu(pmSelectDuplicates);

    ChooseKeepFolder = [this] {
        return QFileDialog::getExistingDirectory(this, "Keep the files inside");
    };
    ChooseListFile = [this](OutputFormat& format) {
        const QString csv = QStringLiteral("CSV (*.csv)");
        QString filter = csv;
        const QString file = QFileDialog::getSaveFileName(this, "Save list", QString(),
                                                          csv + ";;TSV (*.tsv *.txt)", &filter);
        format = filter == csv && !file.endsWith(".tsv", Qt::CaseInsensitive) ? OutputFormat::Csv
                                                                              : OutputFormat::Tsv;
        return file;
    };
}

void TfrmQueryResults::SetDuplicateGrouping(std::optional<bool> sameName) {
    duplicateGrouping_ = sameName;
    btnSelectDuplicates->setEnabled(duplicateGrouping_.has_value() && !jobRunning_);
}

void TfrmQueryResults::SetJobRunning(bool running) {
    jobRunning_ = running;
    for (QWidget* button : {static_cast<QWidget*>(btnDelete), static_cast<QWidget*>(btnRefresh)}) {
        button->setEnabled(!running);
    }
    btnSelectDuplicates->setEnabled(!running && duplicateGrouping_.has_value());
    mnuDeleteselecteditems->setEnabled(!running);
    mnuRefresh->setEnabled(!running);
}

void TfrmQueryResults::ShowStatus(const QString& text, const QString& hint) {
    sbCaption->setText(text);
    sbCaption->setToolTip(hint.isEmpty() ? text : hint);
}

QString TfrmQueryResults::StatusText() const {
    return sbCaption->text();
}

QString TfrmQueryResults::StatusHint() const {
    return sbCaption->toolTip();
}

std::vector<int> TfrmQueryResults::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : grdFiles->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<DuplicateCandidate> TfrmQueryResults::Candidates() const {
    const TResultRowStore& store = model_->Store();
    const bool sameName = duplicateGrouping_.value_or(false);
    std::vector<DuplicateCandidate> files;
    files.reserve(store.RowCount());
    for (std::size_t row = 0; row < store.RowCount(); ++row) {
        files.push_back({std::string(store.Text(row, kFullPathColumn)),
                         std::string(store.Text(row, kDateModifiedColumn)),
                         DuplicateGroupKey(store.Text(row, kCheckSumColumn),
                                           store.Text(row, kFileNameColumn), sameName)});
    }
    return files;
}

void TfrmQueryResults::btnDeleteClick() {
    DeleteSelected(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier));
}

void TfrmQueryResults::DeleteSelected(bool permanently) {
    if (jobRunning_ || !RunRemoval) {
        return;
    }
    std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        ShowStatus("Select the files to delete first.");
        return;
    }
    if (!ConfirmRemoval(rows, permanently) || rows.empty()) {
        return;
    }
    RemoveRows(rows, permanently);
}

bool TfrmQueryResults::ConfirmRemoval(std::vector<int>& rows, bool permanently) {
    uint64_t bytes = 0;
    for (const int row : rows) {
        bytes += static_cast<uint64_t>(
            NumberSortKey(model_->Store().Text(static_cast<std::size_t>(row), kFileSizeColumn)));
    }
    const QString what = FilesText(rows.size()) + " (" + FromBytes(MegabytesText(bytes)) + ")";
    {
        QMessageBox box;
        auto* go = new QPushButton(permanently ? "Delete permanently" : "Move to trash");
        go->setObjectName("btnConfirm");
        auto* cancel = new QPushButton("Cancel");
        cancel->setObjectName("btnCancel");
        box.setEscapeButton(cancel);
        const QString text =
            permanently ? "Delete " + what + " permanently?" : "Move " + what + " to the trash?";
        const QString details =
            permanently ? "They cannot be restored." : "They can be restored from the trash.";
        // Deleting for good is never what Enter does.
        if (Ask(this, "Delete", text, details, {go, cancel}, permanently ? cancel : go, box) !=
            go) {
            return false;
        }
    }
    if (!duplicateGrouping_) {
        return true;
    }
    const std::vector<DuplicateCandidate> files = Candidates();
    std::vector<bool> selected(files.size(), false);
    for (const int row : rows) {
        selected[static_cast<std::size_t>(row)] = true;
    }
    const std::size_t whole = GroupsLosingEveryCopy(files, selected);
    if (whole == 0) {
        return true;
    }
    QMessageBox box;
    auto* keep = new QPushButton("Keep them");
    keep->setObjectName("btnKeepThem");
    auto* all = new QPushButton("Remove every copy");
    all->setObjectName("btnRemoveEveryCopy");
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("btnCancel");
    box.setEscapeButton(cancel);
    const QString text = whole == 1 ? QStringLiteral("1 group would lose every copy.")
                                    : QStringLiteral("%1 groups would lose every copy.").arg(whole);
    QAbstractButton* answer =
        Ask(this, "Delete", text,
            "Every file of these groups is selected. \"Keep them\" removes the other files only.",
            {keep, all, cancel}, keep, box);
    if (answer == all) {
        return true;
    }
    if (answer != keep) {
        return false;
    }
    // The groups that would lose every copy keep all their files.
    std::unordered_map<std::string_view, std::pair<std::size_t, std::size_t>> counts;
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto& [total, chosen] = counts[files[i].group];
        ++total;
        chosen += selected[i] ? 1 : 0;
    }
    const auto wholeGroup = [&](int row) {
        const auto& [total, chosen] = counts[files[static_cast<std::size_t>(row)].group];
        return total == chosen;
    };
    std::erase_if(rows, wholeGroup);
    if (rows.empty()) {
        ShowStatus("Nothing removed: every file selected was the last copy of its group.");
    }
    return true;
}

void TfrmQueryResults::RemoveRows(const std::vector<int>& rows, bool permanently) {
    std::vector<FileRecord> files;
    files.reserve(rows.size());
    for (const int row : rows) {
        ResultRow cells;
        for (std::size_t column = 0; column < kGridColumnCount; ++column) {
            cells[column] = model_->Store().Text(static_cast<std::size_t>(row), column);
        }
        files.push_back(FileRecordOf(cells));
    }
    RemovalOptions options;
    options.kind = permanently ? RemovalKind::DeletePermanently : RemovalKind::MoveToTrash;
    const std::vector<RemovalOutcome> outcomes = RunRemoval(files, options.kind);

    // The user may have sorted the grid or closed the window while the job ran, so the rows are
    // found again by their paths.
    RemovalTally tally;
    std::unordered_map<std::string_view, bool> removedByPath;
    QStringList failures;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const bool handled = i < outcomes.size();
        removedByPath[files[i].path] = handled && outcomes[i].removed;
        if (!handled) {
            continue;
        }
        tally.Count(files[i], outcomes[i]);
        if (!outcomes[i].reason.empty()) {
            failures << FromBytes(files[i].path) + ": " + FromBytes(outcomes[i].reason);
        }
    }
    const TResultRowStore& store = model_->Store();
    std::vector<bool> gone(store.RowCount(), false);
    // The files that stay stay selected, for another look.
    std::vector<bool> selectedAfter;
    for (std::size_t row = 0; row < store.RowCount(); ++row) {
        const auto found = removedByPath.find(store.Text(row, kFullPathColumn));
        gone[row] = found != removedByPath.end() && found->second;
        if (!gone[row]) {
            selectedAfter.push_back(found != removedByPath.end());
        }
    }
    model_->RemoveRows(gone);
    if (duplicateGrouping_) {
        ShadeDuplicateGroups();
    }
    SelectRows(selectedAfter);

    QString text = FromBytes(RemovalSummaryText(tally, options));
    if (outcomes.size() < files.size()) {
        text += "; " + FilesText(files.size() - outcomes.size()) + " not handled";
    }
    if (failures.size() > kFailuresInHint) {
        const auto more = failures.size() - kFailuresInHint;
        failures = failures.mid(0, kFailuresInHint);
        failures << QStringLiteral("... and %1 more").arg(more);
    }
    ShowStatus(text, failures.isEmpty() ? text : text + "\n" + failures.join('\n'));
}

void TfrmQueryResults::btnRefreshClick() {
    if (!jobRunning_ && OnRefresh) {
        OnRefresh();
    }
}

void TfrmQueryResults::SelectRows(const std::vector<bool>& selected) {
    QItemSelection selection;
    const int last = model_->columnCount() - 1;
    // Runs of rows as one range each, so that a large grid selects quickly.
    for (std::size_t row = 0; row < selected.size();) {
        if (!selected[row]) {
            ++row;
            continue;
        }
        std::size_t end = row;
        while (end < selected.size() && selected[end]) {
            ++end;
        }
        selection.select(model_->index(static_cast<int>(row), 0),
                         model_->index(static_cast<int>(end) - 1, last));
        row = end;
    }
    grdFiles->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void TfrmQueryResults::SelectDuplicates(KeepRule rule) {
    if (rule == KeepRule::InsideFolder) {
        const QString folder = ChooseKeepFolder ? ChooseKeepFolder() : QString();
        if (!folder.isEmpty()) {
            SelectDuplicatesInside(folder);
        }
        return;
    }
    if (!duplicateGrouping_) {
        return;
    }
    const DuplicateSelection selection = mirelon::SelectDuplicates(Candidates(), rule);
    SelectRows(selection.selected);
    const auto count = std::count(selection.selected.begin(), selection.selected.end(), true);
    ShowStatus(FilesText(static_cast<std::size_t>(count)) +
               " selected, one kept in each group. Press Delete to remove them.");
}

void TfrmQueryResults::SelectDuplicatesInside(const QString& folder) {
    if (!duplicateGrouping_) {
        return;
    }
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    const DuplicateSelection selection = mirelon::SelectDuplicates(
        Candidates(), KeepRule::InsideFolder, std::string_view(path.data(), path.size()));
    SelectRows(selection.selected);
    const auto count = std::count(selection.selected.begin(), selection.selected.end(), true);
    QString text =
        FilesText(static_cast<std::size_t>(count)) + " selected, those inside " + folder + " kept.";
    if (const std::size_t alone = selection.groupsWithoutKeeper.size(); alone > 0) {
        text +=
            alone == 1
                ? QStringLiteral(" 1 group has no file there and is left alone.")
                : QStringLiteral(" %1 groups have no file there and are left alone.").arg(alone);
    }
    ShowStatus(text);
}

void TfrmQueryResults::mnuOpenFolderClick() {
    const QModelIndex current = grdFiles->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const std::string_view path =
        model_->Store().Text(static_cast<std::size_t>(current.row()), kFullPathColumn);
    const QString file = QFile::decodeName(QByteArray(path.data(), path.size()));
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
}

void TfrmQueryResults::mnuCopyPathClick() {
    QStringList paths;
    for (const int row : SelectedRows()) {
        const std::string_view path =
            model_->Store().Text(static_cast<std::size_t>(row), kFullPathColumn);
        paths << QFile::decodeName(QByteArray(path.data(), path.size()));
    }
    if (!paths.isEmpty()) {
        QGuiApplication::clipboard()->setText(paths.join('\n'));
    }
}

void TfrmQueryResults::btnSaveListClick() {
    OutputFormat format = OutputFormat::Csv;
    const QString file = ChooseListFile ? ChooseListFile(format) : QString();
    if (!file.isEmpty()) {
        SaveList(file, format);
    }
}

bool TfrmQueryResults::SaveList(const QString& file, OutputFormat format) {
    std::ofstream out(QFile::encodeName(file).toStdString(), std::ios::binary | std::ios::trunc);
    if (out) {
        const auto columns = ResultListColumns();
        const auto writer = MakeTableWriter(format, out);
        writer->Start(columns);
        WriteResultRows(model_->Store(), *writer);
        writer->Finish();
        out.close();
    }
    if (!out) {
        ShowStatus("Cannot write " + file + ": " + QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    ShowStatus(FilesText(model_->Store().RowCount()) + " saved to " + file);
    return true;
}

} // namespace mirelon
