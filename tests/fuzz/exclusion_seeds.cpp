// Writes exclusion files like the ones the exclusion tests write, as the fuzzer's first corpus.
#include "exclusions/check_state_file.h"
#include "exclusions/item_identity.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace mirelon;

namespace {

void Save(const std::string& folder, const std::string& name, const TCheckStateNode& root) {
    std::ofstream(folder + "/" + name, std::ios::binary | std::ios::trunc)
        << EncodeCheckStateTree(root);
}

TItemChain Chain(std::initializer_list<const char*> paths) {
    TItemChain chain;
    for (const char* path : paths) {
        chain.push_back(IdentityOfPath(path));
    }
    return chain;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    TCheckStateStore store;
    Save(folder, "empty", store.Snapshot());

    store.SetState(Chain({"/d"}), csMixedNormal);
    store.SetState(Chain({"/d", "/d/a"}), csCheckedNormal);
    store.SetState(Chain({"/d", "/d/a", "/d/a/x"}), csCheckedNormal);
    store.SetState(Chain({"/d", "/d/b"}), csCheckedNormal);
    store.SetState(Chain({"/"}), csCheckedNormal);
    Save(folder, "ticks", store.Snapshot());

    TCheckStateNode columns = store.Snapshot();
    columns.Children[0].ColumnWidths = {1, 0xffff};
    columns.Children[0].ColumnPositions = {7};
    columns.Children[0].ColumnFlags = {1, 2, 3};
    Save(folder, "columns", columns);

    TCheckStateNode nested;
    TCheckStateNode* node = &nested;
    for (int level = 0; level < 64; ++level) {
        node = &node->Children.emplace_back();
        node->Identity = IdentityOfPath("/n");
        node->StorageFlags = kStoresCheckState;
        node->CheckState = csMixedNormal;
    }
    Save(folder, "nested", nested);
    return 0;
}
