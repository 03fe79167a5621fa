#include "scan/directory_listing.h"

#include <cstring>

namespace mirelon {

DirectoryListing::DirectoryListing(OpenFolderPtr open, const FolderIdentity& identity)
    : open_(std::move(open)), identity_(identity) {}

bool DirectoryListing::Next(DirectoryEntry& entry) {
    if (!inMemory_) {
        return ReadNext(entry);
    }
    if (parkedOffset_ >= parkedNames_.size()) {
        return false;
    }
    entry.kind = static_cast<EntryKind>(parkedNames_[parkedOffset_]);
    const char* name = &parkedNames_[parkedOffset_ + 1];
    const size_t length = std::strlen(name);
    entry.name = std::string_view(name, length);
    parkedOffset_ += length + 2;
    return true;
}

void DirectoryListing::Park() {
    if (!inMemory_) {
        DirectoryEntry entry;
        while (ReadNext(entry)) {
            parkedNames_.push_back(static_cast<char>(entry.kind));
            parkedNames_.insert(parkedNames_.end(), entry.name.begin(), entry.name.end());
            parkedNames_.push_back('\0');
        }
        inMemory_ = true;
    }
    open_.reset();
}

} // namespace mirelon
