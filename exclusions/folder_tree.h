#pragma once

#include "exclusions/check_state_store.h"
#include "exclusions/drive_roots.h"

#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

namespace mirelon {

// vclExplorer: the computer as the one top item, the drives below it, then their folders, read
// when a folder is first expanded. Every item has a tri-state check box; ticking a folder ticks
// what is below it, and a folder with some but not all items below it ticked shows partly
// ticked. Every check-state change goes to the store at once: ticked and partly ticked are
// stored, unticked removes the item with everything stored below it.
class TFolderTree : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 17;

    TFolderTree(std::shared_ptr<TCheckStateStore> store, std::vector<TDriveRoot> drives,
                QWidget* parent = nullptr);

    QTreeWidgetItem* ComputerItem() const { return topLevelItem(0); }
    // The item's path; empty for the computer.
    static std::string PathOf(const QTreeWidgetItem* item);
    // The identities from the drive down to the item; empty for the computer.
    static TItemChain ChainOf(const QTreeWidgetItem* item);
    // The child of a loaded item by its path, or null.
    static QTreeWidgetItem* ChildByPath(const QTreeWidgetItem* item, const std::string& path);

private:
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const QString& text, const std::string& path,
                             const QIcon& icon);
    void InitItem(QTreeWidgetItem* item);
    void LoadChildren(QTreeWidgetItem* item);
    void vclExplorerExpanded(QTreeWidgetItem* item);
    void vclExplorerChecked(QTreeWidgetItem* item, int column);
    void SetSubtree(QTreeWidgetItem* item, Qt::CheckState state);
    void ReconcileUpwards(QTreeWidgetItem* item);
    void Report(QTreeWidgetItem* item);
    void Known(QTreeWidgetItem* item);

    std::shared_ptr<TCheckStateStore> store_;
    bool updating_ = false;
};

} // namespace mirelon
