#include "exclusions/check_state_store.h"

#include "exclusions/item_identity.h"

#include <algorithm>

namespace mirelon {

namespace {

TCheckStateNode* ChildOf(TCheckStateNode& node, const std::string& identity) {
    for (TCheckStateNode& child : node.Children) {
        if (child.Identity == identity) {
            return &child;
        }
    }
    return nullptr;
}

// A new child goes before the first sibling that sorts after it, so a store built by the tree
// keeps its folders' order while an order read from a file is left alone.
TCheckStateNode& AddChild(TCheckStateNode& node, const std::string& identity) {
    const auto position =
        std::find_if(node.Children.begin(), node.Children.end(),
                     [&](const TCheckStateNode& c) { return ItemOrderLess(identity, c.Identity); });
    TCheckStateNode child;
    child.Identity = identity;
    return *node.Children.insert(position, std::move(child));
}

void CollectInOrder(const TCheckStateNode& node, std::vector<TStoredItem>& items) {
    items.push_back({node.Identity, node.StorageFlags, node.CheckState});
    for (const TCheckStateNode& child : node.Children) {
        CollectInOrder(child, items);
    }
}

} // namespace

TCheckStateStore::TCheckStateStore() {
    root_.Identity = std::string(kRootIdentity);
}

std::optional<uint8_t> TCheckStateStore::StateOf(const TItemChain& chain) const {
    std::lock_guard lock(mutex_);
    const TCheckStateNode* node = Find(chain);
    if (node == nullptr || (node->StorageFlags & kStoresCheckState) == 0) {
        return std::nullopt;
    }
    return node->CheckState;
}

void TCheckStateStore::SetState(const TItemChain& chain, uint8_t state) {
    if (state == csUncheckedNormal) {
        Remove(chain);
        return;
    }
    std::lock_guard lock(mutex_);
    TCheckStateNode* node = &root_;
    for (const std::string& identity : chain) {
        TCheckStateNode* child = ChildOf(*node, identity);
        node = child != nullptr ? child : &AddChild(*node, identity);
    }
    node->StorageFlags |= kStoresCheckState;
    node->CheckState = state;
    node->CheckBoxKind = kTriStateCheckBox;
}

void TCheckStateStore::Remove(const TItemChain& chain) {
    std::lock_guard lock(mutex_);
    if (chain.empty()) {
        root_ = TCheckStateNode{};
        root_.Identity = std::string(kRootIdentity);
        return;
    }
    const TItemChain parentChain(chain.begin(), chain.end() - 1);
    TCheckStateNode* parent = Find(parentChain);
    if (parent == nullptr) {
        return;
    }
    std::erase_if(parent->Children,
                  [&](const TCheckStateNode& child) { return child.Identity == chain.back(); });
}

void TCheckStateStore::RemoveBelow(const TItemChain& chain) {
    std::lock_guard lock(mutex_);
    if (TCheckStateNode* node = Find(chain)) {
        node->Children.clear();
    }
}

TCheckStateNode TCheckStateStore::Snapshot() const {
    std::lock_guard lock(mutex_);
    return root_;
}

void TCheckStateStore::Assign(TCheckStateNode root) {
    root.Identity = std::string(kRootIdentity);
    std::lock_guard lock(mutex_);
    root_ = std::move(root);
}

std::vector<TStoredItem> TCheckStateStore::ItemsInOrder() const {
    std::vector<TStoredItem> items;
    std::lock_guard lock(mutex_);
    CollectInOrder(root_, items);
    return items;
}

TCheckStateNode* TCheckStateStore::Find(const TItemChain& chain) {
    TCheckStateNode* node = &root_;
    for (const std::string& identity : chain) {
        node = ChildOf(*node, identity);
        if (node == nullptr) {
            return nullptr;
        }
    }
    return node;
}

const TCheckStateNode* TCheckStateStore::Find(const TItemChain& chain) const {
    return const_cast<TCheckStateStore*>(this)->Find(chain);
}

} // namespace mirelon
