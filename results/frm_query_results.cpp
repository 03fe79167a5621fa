#include "results/frm_query_results.h"

#include "query/grid_columns.h"
#include "results/full_text_hint_delegate.h"
#include "results/grid_column_width.h"
#include "results/result_grid_model.h"
#include "results/result_grid_view.h"
#include "settings/rs_prop_saver.h"
#include "widgets/status_lamp.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>

namespace mirelon {

std::atomic<bool> AbortRequested{false};

namespace {

constexpr int kDesignedLeft = 151;
constexpr int kDesignedTop = 250;
constexpr int kDesignedWidth = 863;
constexpr int kDesignedHeight = 394;
// Client width the button positions were laid out against; they keep their distance from the
// right edge when the window is resized.
constexpr int kDesignedClientWidth = 855;
constexpr int kBottomPanelHeight = 53;
constexpr int kStatusBarHeight = 19;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = 14;
// The two buttons added left of Delete, with the same gap as Delete and Refresh keep.
constexpr int kSelectDuplicatesWidth = 125;
constexpr int kSelectDuplicatesLeft = 484 - 1 - kSelectDuplicatesWidth;
constexpr int kSaveListWidth = 80;
constexpr int kSaveListLeft = kSelectDuplicatesLeft - 1 - kSaveListWidth;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TfrmQueryResults::TfrmQueryResults(QWidget* parent, TrsStorage* settings)
    : QWidget(parent, Qt::Window), model_(new TResultGridModel(this)) {
    setObjectName("frmQueryResults");
    setWindowTitle(QString());
    BuildGrid();
    BuildBottomPanel();
    BuildStatusBar();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grdFiles, 1);
    layout->addWidget(pnlBottom);
    layout->addWidget(StatusBar);

    BuildMenus();

    tmrProgressBar = new QTimer(this);
    tmrProgressBar->setObjectName("tmrProgressBar");
    tmrProgressBar->setInterval(400);
    connect(tmrProgressBar, &QTimer::timeout, this, &TfrmQueryResults::tmrProgressBarTimer);

    move(kDesignedLeft, kDesignedTop);
    resize(kDesignedWidth, kDesignedHeight);
    AttachPropSaver(settings);
}

void TfrmQueryResults::AttachPropSaver(TrsStorage* settings) {
    if (settings == nullptr) {
        return;
    }
    rsPropSaver1 = new TrsPropSaver(this);
    rsPropSaver1->setObjectName("rsPropSaver1");
    rsPropSaver1->SetStorage(settings);
    rsPropSaver1->SetRootSection("frmQueryResults.rsPropSaver1");
    rsPropSaver1->SetProperties(
        {"fldCheckSum.Width", "fldCompanyName.Width", "fldDateAccessed.Width",
         "fldDateCreated.Width", "fldDateModified.Width", "fldFileExtension.Width",
         "fldFileName.Width", "fldFileSize.Width", "fldFileVersion.Width", "fldFullPath.Width",
         "fldImportModules.Width", "fldInternalName.Width"});
    rsPropSaver1->SetWhenLoad(wlOnCreate);
    rsPropSaver1->SetWhenSave(wsOnClose);
    // Last step of construction: every column exists by now.
    rsPropSaver1->WindowCreated();
}

void TfrmQueryResults::BuildGrid() {
    grdFiles = new TResultGridView(this);
    grdFiles->setObjectName("grdFiles");
    grdFiles->setModel(model_);
    grdFiles->setItemDelegate(new TFullTextHintDelegate(grdFiles));
    grdFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdFiles->setShowGrid(true);
    grdFiles->setWordWrap(false);
    grdFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The Delete key acts like the button; Shift+Delete deletes for good.
    grdFiles->installEventFilter(this);
    grdFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grdFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmGrid->exec(grdFiles->viewport()->mapToGlobal(at)); });
    // Uniform row heights keep a million rows cheap for the view.
    QHeaderView* rows = grdFiles->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(grdFiles->fontMetrics().height() + 4);
    rows->hide();

    QHeaderView* header = grdFiles->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    // Several captions are wider than their designed columns; aligned left they lose letters at
    // the end only, not on both sides.
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    grdFiles->setSortingEnabled(true);
    for (std::size_t column = 0; column < kGridColumnCount; ++column) {
        grdFiles->setColumnWidth(static_cast<int>(column), kGridColumns[column].width);
        new TGridColumnWidth(ToQString(kGridColumns[column].name), grdFiles,
                             static_cast<int>(column), this);
    }
    // A fresh set of rows is in query order, so no column claims to be sorted.
    connect(model_, &QAbstractItemModel::modelReset, this, [header] {
        const QSignalBlocker blocker(header);
        header->setSortIndicator(-1, Qt::AscendingOrder);
    });

    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint& at) {
        QMenu menu;
        FillColumnMenu(menu);
        menu.exec(header->mapToGlobal(at));
    });
}

void TfrmQueryResults::BuildBottomPanel() {
    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName("pnlBottom");
    pnlBottom->setFixedHeight(kBottomPanelHeight);
    pnlBottom->installEventFilter(this);

    const auto makeButton = [this](const char* name, const char* caption) {
        auto* button = new QPushButton(caption, pnlBottom);
        button->setObjectName(name);
        button->setFixedSize(kButtonWidth, kButtonHeight);
        button->setAutoDefault(false);
        return button;
    };
    btnSaveList = makeButton("btnSaveList", "&Save list...");
    btnSaveList->setFixedWidth(kSaveListWidth);
    btnSaveList->setToolTip("Save the rows shown as CSV or TSV.");
    btnSelectDuplicates = makeButton("btnSelectDuplicates", "Select d&uplicates");
    btnSelectDuplicates->setFixedWidth(kSelectDuplicatesWidth);
    btnSelectDuplicates->setToolTip("In each group, select every file but the one to keep.");
    btnSelectDuplicates->setEnabled(false);
    btnDelete = makeButton("btnDelete", "&Delete");
    btnDelete->setToolTip("Move the selected files to the trash (with Shift: delete them).");
    btnDelete->setAccessibleDescription("Delete selected items");
    btnRefresh = makeButton("btnRefresh", "&Refresh");
    btnRefresh->setToolTip("Refresh results.");
    btnAbort = makeButton("btnAbort", "&Abort");
    btnClose = makeButton("btnClose", "&Close");

    connect(btnSaveList, &QPushButton::clicked, this, &TfrmQueryResults::btnSaveListClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmQueryResults::btnDeleteClick);
    connect(btnRefresh, &QPushButton::clicked, this, &TfrmQueryResults::btnRefreshClick);
    connect(btnAbort, &QPushButton::clicked, this, &TfrmQueryResults::btnAbortClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmQueryResults::btnCloseClick);

    setTabOrder(btnClose, btnSaveList);
    setTabOrder(btnSaveList, btnSelectDuplicates);
    setTabOrder(btnSelectDuplicates, btnDelete);
    setTabOrder(btnDelete, btnRefresh);
    setTabOrder(btnRefresh, btnAbort);
    PlaceBottomButtons();
}

void TfrmQueryResults::PlaceBottomButtons() {
    const int width = pnlBottom->width();
    const auto place = [width](QPushButton* button, int designedLeft) {
        button->move(width - (kDesignedClientWidth - designedLeft), kButtonTop);
    };
    place(btnSaveList, kSaveListLeft);
    place(btnSelectDuplicates, kSelectDuplicatesLeft);
    place(btnDelete, 484);
    place(btnRefresh, 560);
    place(btnAbort, 690);
    place(btnClose, 766);
}

void TfrmQueryResults::BuildStatusBar() {
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setFixedHeight(kStatusBarHeight);
    StatusBar->setSizeGripEnabled(false);

    sbGlyph = new QLabel(StatusBar);
    sbGlyph->setObjectName("sbGlyph");
    sbGlyph->setFixedWidth(25);
    sbGlyph->setAlignment(Qt::AlignCenter);
    sbGlyph->setPixmap(IdleStatusLamp());

    sbCaption = new QLabel(StatusBar);
    sbCaption->setObjectName("sbCaption");

    ProgressBar = new QProgressBar(StatusBar);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setFixedWidth(150);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(50);
    ProgressBar->setTextVisible(false);

    StatusBar->addWidget(sbGlyph);
    StatusBar->addWidget(sbCaption, 1);
    StatusBar->addPermanentWidget(ProgressBar);
}

bool TfrmQueryResults::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pnlBottom && event->type() == QEvent::Resize) {
        PlaceBottomButtons();
    }
    if (watched == grdFiles && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            if (btnDelete->isEnabled()) {
                DeleteSelected(key->modifiers().testFlag(Qt::ShiftModifier));
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmQueryResults::Show() {
    show();
    raise();
    activateWindow();
}

void TfrmQueryResults::ShowModal() {
    if (isVisible()) {
        throw std::runtime_error("Cannot make a visible window modal");
    }
    QPointer<TfrmQueryResults> self(this);
    QEventLoop loop;
    connect(this, &TfrmQueryResults::Hidden, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    Show();
    loop.exec(QEventLoop::DialogExec);
    if (self) {
        setWindowModality(Qt::NonModal);
    }
}

void TfrmQueryResults::SortByCheckSum() {
    const int column = static_cast<int>(kCheckSumColumn);
    {
        // Setting the indicator would sort through the view as well; sort once, here.
        const QSignalBlocker blocker(grdFiles->horizontalHeader());
        grdFiles->horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder);
    }
    model_->sort(column, Qt::AscendingOrder);
}

void TfrmQueryResults::ShadeDuplicateGroups() {
    model_->ShadeDuplicateGroups(duplicateGrouping_.value_or(false));
}

void TfrmQueryResults::FillColumnMenu(QMenu& menu) {
    int shown = 0;
    for (int column = 0; column < model_->columnCount(); ++column) {
        shown += grdFiles->isColumnHidden(column) ? 0 : 1;
    }
    for (int column = 0; column < model_->columnCount(); ++column) {
        QAction* action =
            menu.addAction(model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        action->setCheckable(true);
        const bool visible = !grdFiles->isColumnHidden(column);
        action->setChecked(visible);
        // The last visible column stays, or the grid could not be reached again.
        action->setEnabled(!visible || shown > 1);
        connect(action, &QAction::toggled, grdFiles,
                [this, column](bool checked) { grdFiles->setColumnHidden(column, !checked); });
    }
}

void TfrmQueryResults::btnCloseClick() {
    close();
}

void TfrmQueryResults::mnuDeleteselecteditemsClick() {
    btnDeleteClick();
}

void TfrmQueryResults::btnAbortClick() {
    AbortRequested = true;
}

void TfrmQueryResults::tmrProgressBarTimer() {
    if (ProgressBar->value() == 100) {
        ProgressBar->setValue(0);
    }
    ProgressBar->setValue(ProgressBar->value() + 5);
}

void TfrmQueryResults::FormClose() {
    model_->ClearRows();
}

void TfrmQueryResults::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    QWidget::closeEvent(event);
}

void TfrmQueryResults::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit Hidden();
}

} // namespace mirelon
