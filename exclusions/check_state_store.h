#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace mirelon {

// Storage flags of a node.
inline constexpr uint8_t kStoresCheckState = 1;
inline constexpr uint8_t kStoresColumns = 2; // never set here; kept when read

// Check states as the tree reports them; the pressed forms are passing mouse states.
inline constexpr uint8_t csUncheckedNormal = 0;
inline constexpr uint8_t csUncheckedPressed = 1;
inline constexpr uint8_t csCheckedNormal = 2;
inline constexpr uint8_t csCheckedPressed = 3;
inline constexpr uint8_t csMixedNormal = 4;
inline constexpr uint8_t csMixedPressed = 5;

inline constexpr uint8_t kTriStateCheckBox = 1;

// One stored item: its identity (see item_identity.h), the stored items below it in their
// folder's order, and what is stored for it.
struct TCheckStateNode {
    std::string Identity;
    std::vector<TCheckStateNode> Children;
    uint8_t StorageFlags = 0;
    uint8_t CheckState = csUncheckedNormal;
    uint8_t CheckBoxKind = 0;
    // A column layout; always empty in this program, kept so a file reads back as written.
    std::vector<uint16_t> ColumnWidths;
    std::vector<uint16_t> ColumnPositions;
    std::vector<uint8_t> ColumnFlags;

    bool operator==(const TCheckStateNode&) const = default;
};

// The identities of an item's ancestors below the top item, then its own; empty for the top.
using TItemChain = std::vector<std::string>;

// A stored node as the pre-order walk meets it.
struct TStoredItem {
    std::string Identity;
    uint8_t StorageFlags;
    uint8_t CheckState;
};

// The check states of the folder tree: a tree of nodes rooted at the top item. The window thread
// changes it while a scan may be reading it on the helper thread, hence the lock.
class TCheckStateStore {
public:
    TCheckStateStore();

    // The state stored for the item, if any.
    std::optional<uint8_t> StateOf(const TItemChain& chain) const;
    // Stores a state other than unchecked, creating the item's node and any missing node above
    // it; unchecked removes the node with everything below it.
    void SetState(const TItemChain& chain, uint8_t state);
    // Removes the item's node and everything below it; for the top item, everything stored.
    void Remove(const TItemChain& chain);
    // Removes everything stored below the item, keeping the item's own node.
    void RemoveBelow(const TItemChain& chain);

    TCheckStateNode Snapshot() const;
    void Assign(TCheckStateNode root);
    // Depth first, a node before its children, children in stored order, the root first.
    std::vector<TStoredItem> ItemsInOrder() const;

private:
    TCheckStateNode* Find(const TItemChain& chain);
    const TCheckStateNode* Find(const TItemChain& chain) const;

    mutable std::mutex mutex_;
    TCheckStateNode root_;
};

} // namespace mirelon
