#include "exclusions/excluded_folders_panel.h"

#include "exclusions/check_state_file.h"
#include "exclusions/drive_roots.h"
#include "exclusions/folder_tree.h"
#include "exclusions/item_identity.h"
#include "exclusions/store_exclusion_provider.h"
#include "panels/gradient_strip.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace mirelon {

namespace {

constexpr int kTreeMargin = 3;
constexpr int kTreeRightMargin = 4;
constexpr int kOkTop = 7;
constexpr int kOkLeft = 213;
constexpr int kOkWidth = 60;
constexpr int kOkHeight = 22;

QString Quoted(const std::string& path) {
    return QLatin1Char('"') + QFile::decodeName(QByteArray::fromStdString(path)) + QLatin1Char('"');
}

QString DamageNoticeText(const QString& listName, const std::string& path,
                         const TCheckStateLoad& load, const TrsRenameResult& kept) {
    const QString error = QString::fromLocal8Bit(load.Error);
    QString text = Quoted(path);
    text += load.Unreadable ? QStringLiteral(" could not be read (%1)").arg(error)
                            : QStringLiteral(" is %1").arg(error);
    text += QStringLiteral(", so the list of folders excluded from %1 was reset to what could be "
                           "read of it.")
                .arg(listName);
    if (kept.path.empty()) {
        text += QStringLiteral("\nThe file could not be kept aside (%1); \"Ok\" in that list "
                               "will write over it.")
                    .arg(QString::fromLocal8Bit(kept.error));
    } else {
        text += QStringLiteral("\nThe damaged file was kept as %1.").arg(Quoted(kept.path));
    }
    return text;
}

} // namespace

TfmExcludedFoldersPanel::TfmExcludedFoldersPanel(const QString& formName, const QString& listName,
                                                 std::string filePath,
                                                 std::shared_ptr<const TcxDriveInfo> drives,
                                                 QWidget* parent)
    : TfmDropDown(parent), listName_(listName), filePath_(std::move(filePath)),
      drives_(std::move(drives)) {
    setObjectName(formName);
    setWindowTitle(formName);
    setFont(QFont(QStringLiteral("MS Shell Dlg 2"), 8));
    // The tree takes its stored states as its items are made, so the store comes first.
    fmDropDownCreate();

    pnlMain = new TGradientStrip(QStringLiteral("pnlMain"), this);
    vclExplorer = new TFolderTree(store_, DriveRoots(*drives_), pnlMain);
    auto* mainRow = new QVBoxLayout(pnlMain);
    mainRow->setContentsMargins(kTreeMargin, kTreeMargin, kTreeRightMargin, kTreeMargin);
    mainRow->addWidget(vclExplorer);

    pnlBottom = new TGradientStrip(QStringLiteral("pnlBottom"), this);
    pnlBottom->setFixedHeight(kBottomStripHeight);
    btnOk = new QPushButton(QStringLiteral("Ok"), pnlBottom);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setFixedSize(kOkWidth, kOkHeight);
    auto* bottomRow = new QHBoxLayout(pnlBottom);
    bottomRow->setContentsMargins(0, kOkTop, kClientWidth - kOkLeft - kOkWidth,
                                  kBottomStripHeight - kOkTop - kOkHeight);
    bottomRow->addStretch(1);
    bottomRow->addWidget(btnOk);
    connect(btnOk, &QPushButton::clicked, this, &TfmExcludedFoldersPanel::btnOkClick);

    auto* strips = new QVBoxLayout(this);
    strips->setContentsMargins(0, 0, 0, 0);
    strips->setSpacing(0);
    strips->addWidget(pnlMain, 1);
    strips->addWidget(pnlBottom);
    SetClientSize(kClientWidth, kClientHeight);
}

std::vector<std::string> TfmExcludedFoldersPanel::ExcludedFolderList() const {
    return ExclusionProvider()->ExcludedFolderList();
}

std::shared_ptr<IExclusionProvider> TfmExcludedFoldersPanel::ExclusionProvider() const {
    return std::make_shared<TStoreExclusionProvider>(store_, drives_);
}

void TfmExcludedFoldersPanel::fmDropDownCreate() {
    const TCheckStateLoad load = LoadCheckStateFile(filePath_, *store_, IdentityExists);
    if (!load.Exists || load.Complete) {
        return;
    }
    const TrsRenameResult kept = KeepDamagedFile(filePath_);
    damageNotice_ = DamageNoticeText(listName_, filePath_, load, kept);
}

void TfmExcludedFoldersPanel::btnOkClick() {
    try {
        SaveCheckStateFile(filePath_, *store_);
    } catch (const std::exception& error) {
        // Closing is the last step, so the panel stays open with the user's ticks.
        ShowMessage(QString::fromStdString(error.what()));
        return;
    }
    CloseDropDown();
}

void TfmExcludedFoldersPanel::ShowMessage(const QString& text) {
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), text);
}

} // namespace mirelon
