#include "exclusions/check_state_file.h"

#include "exclusions/item_identity.h"
#include "settings/rs_file.h"

#include <cstdint>

namespace mirelon {

namespace {

class RecordWriter {
public:
    void Node(const TCheckStateNode& node, bool isRoot) {
        Int32(static_cast<int32_t>(node.Identity.size()));
        bytes_.append(node.Identity);
        // The root always has a list of children, even an empty one.
        const bool hasChildren = isRoot || !node.Children.empty();
        Byte(hasChildren ? 1 : 0);
        if (hasChildren) {
            Int32(static_cast<int32_t>(node.Children.size()));
            for (const TCheckStateNode& child : node.Children) {
                Node(child, false);
            }
        }
        Byte(node.StorageFlags);
        Byte(node.CheckState);
        Byte(node.CheckBoxKind);
        Int32(static_cast<int32_t>(node.ColumnWidths.size()));
        for (const uint16_t value : node.ColumnWidths) {
            Int16(value);
        }
        Int32(static_cast<int32_t>(node.ColumnPositions.size()));
        for (const uint16_t value : node.ColumnPositions) {
            Int16(value);
        }
        Int32(static_cast<int32_t>(node.ColumnFlags.size()));
        for (const uint8_t value : node.ColumnFlags) {
            Byte(value);
        }
        Byte(0); // no extra object
    }

    std::string Take() { return std::move(bytes_); }

private:
    void Byte(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void Int16(uint16_t value) {
        Byte(static_cast<uint8_t>(value));
        Byte(static_cast<uint8_t>(value >> 8));
    }
    void Int32(int32_t value) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            Byte(static_cast<uint8_t>(bits >> shift));
        }
    }

    std::string bytes_;
};

constexpr uint8_t kKnownStorageFlags = kStoresCheckState | kStoresColumns;

// What the tree can show for an item: an item below the top one is named by a path.
bool IsItemIdentity(std::string_view identity) {
    return PathOfIdentity(identity).has_value();
}

// Reads records until the bytes end or stop making sense; everything is checked against what is
// left before anything is allocated. Bytes that this program could not have written count as
// damage as much as bytes that run out: an identity that names no item, storage flags or a check
// state that do not exist.
class RecordReader {
public:
    RecordReader(std::string_view bytes, const TItemExists& exists)
        : bytes_(bytes), exists_(exists) {}

    bool Node(TCheckStateNode& node, int depth) {
        const size_t start = offset_;
        int32_t identityLength = 0;
        if (!Int32(identityLength)) {
            return false;
        }
        if (identityLength > 0) {
            if (static_cast<size_t>(identityLength) > Left()) {
                return false;
            }
            node.Identity.assign(bytes_.substr(offset_, static_cast<size_t>(identityLength)));
            offset_ += static_cast<size_t>(identityLength);
        }
        // The root is the top item whatever it says; every other record must name an item.
        if (depth > 0 && !IsItemIdentity(node.Identity)) {
            offset_ = start;
            return false;
        }
        uint8_t hasChildren = 0;
        if (!Byte(hasChildren) || hasChildren > 1) {
            return false;
        }
        if (hasChildren == 1 && !Children(node, depth)) {
            return false;
        }
        if (Left() < 3) {
            return false;
        }
        const size_t stateAt = offset_;
        uint8_t storageFlags = 0, checkState = 0, checkBoxKind = 0;
        Byte(storageFlags);
        Byte(checkState);
        Byte(checkBoxKind);
        if ((storageFlags & ~kKnownStorageFlags) != 0 || checkState > csMixedPressed) {
            offset_ = stateAt;
            return false;
        }
        node.StorageFlags = storageFlags;
        node.CheckState = checkState;
        node.CheckBoxKind = checkBoxKind;
        if (!Array16(node.ColumnWidths) || !Array16(node.ColumnPositions) ||
            !Array8(node.ColumnFlags)) {
            return false;
        }
        // An extra object's own data has no length of its own, so nothing after it can be read.
        uint8_t hasExtra = 0;
        return Byte(hasExtra) && hasExtra == 0;
    }

    size_t Offset() const { return offset_; }

private:
    bool Children(TCheckStateNode& node, int depth) {
        int32_t count = 0;
        if (!Int32(count) || count < 0) {
            return false;
        }
        if (depth + 1 > kMaxCheckStateDepth) {
            return count == 0;
        }
        // No reserve: a count is only as good as the records that follow it.
        for (int32_t i = 0; i < count; ++i) {
            TCheckStateNode& child = node.Children.emplace_back();
            const bool whole = Node(child, depth + 1);
            if (!IsItemIdentity(child.Identity) || !exists_(child.Identity)) {
                node.Children.pop_back();
            }
            if (!whole) {
                return false;
            }
        }
        return true;
    }

    bool Array16(std::vector<uint16_t>& values) {
        int32_t count = 0;
        if (!Int32(count) || count < 0 || static_cast<size_t>(count) > Left() / 2) {
            return false;
        }
        values.resize(static_cast<size_t>(count));
        for (uint16_t& value : values) {
            uint8_t low = 0, high = 0;
            Byte(low);
            Byte(high);
            value = static_cast<uint16_t>(low | (high << 8));
        }
        return true;
    }

    bool Array8(std::vector<uint8_t>& values) {
        int32_t count = 0;
        if (!Int32(count) || count < 0 || static_cast<size_t>(count) > Left()) {
            return false;
        }
        values.resize(static_cast<size_t>(count));
        for (uint8_t& value : values) {
            Byte(value);
        }
        return true;
    }

    size_t Left() const { return bytes_.size() - offset_; }

    bool Byte(uint8_t& value) {
        if (Left() < 1) {
            return false;
        }
        value = static_cast<uint8_t>(bytes_[offset_++]);
        return true;
    }

    bool Int32(int32_t& value) {
        if (Left() < 4) {
            return false;
        }
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            bits |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[offset_++])) << (8 * i);
        }
        value = static_cast<int32_t>(bits);
        return true;
    }

    std::string_view bytes_;
    const TItemExists& exists_;
    size_t offset_ = 0;
};

} // namespace

std::string EncodeCheckStateTree(const TCheckStateNode& root) {
    RecordWriter writer;
    writer.Node(root, true);
    return writer.Take();
}

TCheckStateDecoding DecodeCheckStateTree(std::string_view bytes, const TItemExists& exists) {
    TCheckStateDecoding decoding;
    RecordReader reader(bytes, exists);
    // The file is one record; anything after it is not what this program writes.
    decoding.Complete = reader.Node(decoding.Root, 0) && reader.Offset() == bytes.size();
    if (!decoding.Complete) {
        decoding.DamageOffset = reader.Offset();
    }
    // The root is the top item whatever the file calls it.
    decoding.Root.Identity = std::string(kRootIdentity);
    return decoding;
}

TCheckStateLoad LoadCheckStateFile(const std::string& path, TCheckStateStore& store,
                                   const TItemExists& exists) {
    TCheckStateLoad load;
    std::string bytes;
    const TrsFileReadResult read = ReadWholeFile(path, bytes);
    load.Exists = read.exists;
    if (!read.exists) {
        store.Assign(TCheckStateNode{});
        load.Complete = true;
        return load;
    }
    TCheckStateDecoding decoding = DecodeCheckStateTree(bytes, exists);
    load.Complete = decoding.Complete && read.error.empty();
    if (!read.error.empty()) {
        load.Unreadable = true;
        load.Error = read.error;
    } else if (!decoding.Complete) {
        load.Error = "damaged at byte " + std::to_string(decoding.DamageOffset);
    }
    store.Assign(std::move(decoding.Root));
    return load;
}

TrsRenameResult KeepDamagedFile(const std::string& path) {
    return RenameBeside(path, kDamagedFileSuffix);
}

void SaveCheckStateFile(const std::string& path, const TCheckStateStore& store) {
    ReplaceFile(path, EncodeCheckStateTree(store.Snapshot()));
}

} // namespace mirelon
