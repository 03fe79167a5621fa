#include "exclusions/folder_tree.h"

#include "exclusions/item_identity.h"
#include "exclusions/subfolder_listing.h"

#include <QFile>
#include <QHeaderView>
#include <QStyle>
#include <QStyledItemDelegate>

namespace mirelon {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLoadedRole = Qt::UserRole + 1;
// The check state the store was last told of; itemChanged also fires for every other change.
constexpr int kKnownStateRole = Qt::UserRole + 2;

class TRowHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(TFolderTree::kRowHeight);
        return size;
    }
};

Qt::CheckState ShownState(uint8_t stored) {
    switch (stored) {
    case csCheckedNormal:
    case csCheckedPressed:
        return Qt::Checked;
    case csMixedNormal:
    case csMixedPressed:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

uint8_t StoredState(Qt::CheckState shown) {
    switch (shown) {
    case Qt::Checked:
        return csCheckedNormal;
    case Qt::PartiallyChecked:
        return csMixedNormal;
    default:
        return csUncheckedNormal;
    }
}

// What a loaded folder shows given its children: ticked only while it is ticked itself and so is
// everything below it, since ticking every sub-folder does not tick the folder's own files;
// partly ticked while anything below it is ticked; none when it has no children.
std::optional<Qt::CheckState> StateFromChildren(const QTreeWidgetItem* item) {
    if (item->childCount() == 0) {
        return std::nullopt;
    }
    bool allChecked = true;
    bool anyTicked = false;
    for (int i = 0; i < item->childCount(); ++i) {
        const Qt::CheckState state = item->child(i)->checkState(0);
        allChecked = allChecked && state == Qt::Checked;
        anyTicked = anyTicked || state != Qt::Unchecked;
    }
    if (!anyTicked) {
        return Qt::Unchecked;
    }
    return allChecked && item->checkState(0) == Qt::Checked ? Qt::Checked : Qt::PartiallyChecked;
}

} // namespace

TFolderTree::TFolderTree(std::shared_ptr<TCheckStateStore> store, std::vector<TDriveRoot> drives,
                         QWidget* parent)
    : QTreeWidget(parent), store_(std::move(store)) {
    setObjectName(QStringLiteral("vclExplorer"));
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new TRowHeightDelegate(this));

    QTreeWidgetItem* computer = AddItem(nullptr, QStringLiteral("Computer"), std::string(),
                                        style()->standardIcon(QStyle::SP_ComputerIcon));
    const QIcon driveIcon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const TDriveRoot& drive : drives) {
        AddItem(computer, QString::fromStdString(drive.DisplayName), drive.Path, driveIcon);
    }
    computer->setData(0, kLoadedRole, true);
    computer->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    ReconcileUpwards(computer);
    computer->setExpanded(true);

    connect(this, &QTreeWidget::itemExpanded, this, &TFolderTree::vclExplorerExpanded);
    connect(this, &QTreeWidget::itemChanged, this, &TFolderTree::vclExplorerChecked);
}

std::string TFolderTree::PathOf(const QTreeWidgetItem* item) {
    return item->data(0, kPathRole).toByteArray().toStdString();
}

TItemChain TFolderTree::ChainOf(const QTreeWidgetItem* item) {
    TItemChain chain;
    for (; item != nullptr && item->parent() != nullptr; item = item->parent()) {
        chain.insert(chain.begin(), IdentityOfPath(PathOf(item)));
    }
    return chain;
}

QTreeWidgetItem* TFolderTree::ChildByPath(const QTreeWidgetItem* item, const std::string& path) {
    for (int i = 0; i < item->childCount(); ++i) {
        if (PathOf(item->child(i)) == path) {
            return item->child(i);
        }
    }
    return nullptr;
}

QTreeWidgetItem* TFolderTree::AddItem(QTreeWidgetItem* parent, const QString& text,
                                      const std::string& path, const QIcon& icon) {
    auto* item = new QTreeWidgetItem();
    item->setText(0, text);
    item->setIcon(0, icon);
    item->setData(0, kPathRole, QByteArray::fromStdString(path));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    // Whether a folder has folders inside is only known once it is read.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    if (parent == nullptr) {
        addTopLevelItem(item);
    } else {
        parent->addChild(item);
    }
    InitItem(item);
    return item;
}

// A new item takes its stored state; below a ticked folder it starts ticked, and that is stored.
void TFolderTree::InitItem(QTreeWidgetItem* item) {
    const bool wasUpdating = updating_;
    updating_ = true;
    QTreeWidgetItem* parent = item->parent();
    if (parent != nullptr && parent->checkState(0) == Qt::Checked) {
        item->setCheckState(0, Qt::Checked);
        Report(item);
    } else {
        const auto stored = store_->StateOf(ChainOf(item));
        item->setCheckState(0, stored ? ShownState(*stored) : Qt::Unchecked);
        Known(item);
    }
    updating_ = wasUpdating;
}

void TFolderTree::LoadChildren(QTreeWidgetItem* item) {
    if (item->data(0, kLoadedRole).toBool()) {
        return;
    }
    item->setData(0, kLoadedRole, true);
    const std::string folder = PathOf(item);
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    setUpdatesEnabled(false);
    for (const std::string& name : ListSubfolderNames(folder)) {
        AddItem(item, QFile::decodeName(QByteArray::fromStdString(name)), ChildPath(folder, name),
                folderIcon);
    }
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    setUpdatesEnabled(true);
    // Stored ticks below a folder that shows unticked make it, and what is above it, partly
    // ticked.
    ReconcileUpwards(item);
}

void TFolderTree::vclExplorerExpanded(QTreeWidgetItem* item) {
    LoadChildren(item);
}

void TFolderTree::vclExplorerChecked(QTreeWidgetItem* item, int column) {
    if (updating_ || column != 0 ||
        item->data(0, kKnownStateRole) == item->data(0, Qt::CheckStateRole)) {
        return;
    }
    updating_ = true;
    const Qt::CheckState state = item->checkState(0) == Qt::Unchecked ? Qt::Unchecked : Qt::Checked;
    // Whatever was stored below gives way to the new state of the whole subtree.
    store_->Remove(ChainOf(item));
    SetSubtree(item, state);
    if (item->parent() != nullptr) {
        ReconcileUpwards(item->parent());
    }
    updating_ = false;
}

void TFolderTree::SetSubtree(QTreeWidgetItem* item, Qt::CheckState state) {
    item->setCheckState(0, state);
    Report(item);
    for (int i = 0; i < item->childCount(); ++i) {
        SetSubtree(item->child(i), state);
    }
}

// Each folder from `item` up shows what its loaded children say, and the store learns of every
// change.
void TFolderTree::ReconcileUpwards(QTreeWidgetItem* item) {
    const bool wasUpdating = updating_;
    updating_ = true;
    for (; item != nullptr; item = item->parent()) {
        const auto derived = StateFromChildren(item);
        if (!derived || *derived == item->checkState(0)) {
            break;
        }
        item->setCheckState(0, *derived);
        Report(item);
    }
    updating_ = wasUpdating;
}

void TFolderTree::Report(QTreeWidgetItem* item) {
    Known(item);
    store_->SetState(ChainOf(item), StoredState(item->checkState(0)));
}

void TFolderTree::Known(QTreeWidgetItem* item) {
    const bool wasUpdating = updating_;
    updating_ = true;
    item->setData(0, kKnownStateRole, item->data(0, Qt::CheckStateRole));
    updating_ = wasUpdating;
}

} // namespace mirelon
