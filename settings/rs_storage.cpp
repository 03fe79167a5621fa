#include "settings/rs_storage.h"

#include "settings/rs_text_compare.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace mirelon {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool SectionBefore(const std::unique_ptr<TrsSection>& section,
                   std::pair<int, std::string_view> at) {
    if (section->parentId != at.first)
        return section->parentId < at.first;
    return CompareNames(section->name, at.second) < 0;
}

bool KeyBefore(const std::unique_ptr<TrsKey>& key, std::pair<int, std::string_view> at) {
    if (key->sectionId != at.first)
        return key->sectionId < at.first;
    return CompareNames(key->name, at.second) < 0;
}

} // namespace

TrsStorage::TrsStorage() : key_(*this) {}

TrsStorage::~TrsStorage() {
    if (!active_ || (options_ & soSaveOnClose) == 0)
        return;
    try {
        Flush();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "The settings could not be written.\n");
    }
}

void TrsStorage::SetActive(bool active) {
    if (active == active_)
        return;
    if (active) {
        active_ = true;
        Reload();
        return;
    }
    if ((options_ & soSaveOnClose) != 0)
        Flush();
    active_ = false;
}

void TrsStorage::SetRootSection(std::string_view path) {
    currentSectionId_ = WalkPath(kRootId, path, true);
    rootSection_ = path;
}

void TrsStorage::Clear() {
    keys_.clear();
    sections_.clear();
    sectionsById_.clear();
    key_.key_ = nullptr;
    lastSection_ = -1;
    lastKey_ = -1;
    currentSectionId_ = kRootId;
    rootSection_.clear();
}

void TrsStorage::Reload() {
    Clear();
    if (data_)
        data_->Load(*this);
    SetRootSection("");
}

void TrsStorage::Flush() {
    if (data_)
        data_->Save(*this);
}

int TrsStorage::WalkPath(int startId, std::string_view path, bool create) {
    int id = !path.empty() && IsSeparator(path.front()) ? kRootId : startId;
    size_t at = 0;
    while (at < path.size()) {
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (end > at) {
            id = FindSection(id, path.substr(at, end - at), create);
            if (id < 0)
                return -1;
        }
        at = end + 1;
    }
    return id;
}

int TrsStorage::FindSection(int parentId, std::string_view name, bool create) {
    if (lastSection_ >= 0) {
        const TrsSection& last = *sections_[static_cast<size_t>(lastSection_)];
        if (last.parentId == parentId && SameName(last.name, name))
            return last.id;
    }
    const auto at =
        std::lower_bound(sections_.begin(), sections_.end(),
                         std::pair<int, std::string_view>(parentId, name), SectionBefore);
    if (at != sections_.end() && (*at)->parentId == parentId && SameName((*at)->name, name)) {
        lastSection_ = at - sections_.begin();
        return (*at)->id;
    }
    if (!create)
        return -1;
    auto section = std::make_unique<TrsSection>();
    section->name = name;
    section->id = static_cast<int>(sectionsById_.size()) + 1;
    section->parentId = parentId;
    sectionsById_.push_back(section.get());
    const auto inserted = sections_.insert(at, std::move(section));
    lastSection_ = inserted - sections_.begin();
    return (*inserted)->id;
}

std::pair<int, std::string_view> TrsStorage::SplitKeyName(std::string_view name, bool create) {
    size_t separator = name.size();
    while (separator > 0 && !IsSeparator(name[separator - 1]))
        --separator;
    if (separator == 0)
        return {currentSectionId_, name};
    const int sectionId = WalkPath(currentSectionId_, name.substr(0, separator), create);
    return {sectionId, name.substr(separator)};
}

TrsStorage::KeyList::iterator TrsStorage::LowerKey(int sectionId, std::string_view name) {
    return std::lower_bound(keys_.begin(), keys_.end(),
                            std::pair<int, std::string_view>(sectionId, name), KeyBefore);
}

int TrsStorage::FindKeyIn(int sectionId, std::string_view name, bool create) {
    if (lastKey_ >= 0) {
        TrsKey& last = *keys_[static_cast<size_t>(lastKey_)];
        if (last.sectionId == sectionId && SameName(last.name, name)) {
            key_.key_ = &last;
            return static_cast<int>(lastKey_);
        }
    }
    const auto at = LowerKey(sectionId, name);
    if (at != keys_.end() && (*at)->sectionId == sectionId && SameName((*at)->name, name)) {
        lastKey_ = at - keys_.begin();
        key_.key_ = at->get();
        return static_cast<int>(lastKey_);
    }
    if (!create) {
        key_.key_ = nullptr;
        return -1;
    }
    auto key = std::make_unique<TrsKey>();
    key->name = name;
    key->sectionId = sectionId;
    const auto inserted = keys_.insert(at, std::move(key));
    lastKey_ = inserted - keys_.begin();
    key_.key_ = inserted->get();
    return static_cast<int>(lastKey_);
}

int TrsStorage::FindKey(std::string_view name, bool create) {
    const auto [sectionId, keyName] = SplitKeyName(name, create);
    if (sectionId < 0) {
        key_.key_ = nullptr;
        return -1;
    }
    return FindKeyIn(sectionId, keyName, create);
}

bool TrsStorage::KeyExists(std::string_view name) {
    TrsKey* const current = key_.key_;
    const bool exists = FindKey(name, false) >= 0;
    key_.key_ = current;
    return exists;
}

bool TrsStorage::DeleteKey(std::string_view name) {
    TrsKey* const current = key_.key_;
    const int position = FindKey(name, false);
    key_.key_ = current;
    if (position < 0)
        return false;
    const auto at = keys_.begin() + position;
    if (at->get() == current)
        key_.key_ = nullptr;
    keys_.erase(at);
    lastKey_ = -1;
    return true;
}

std::pair<size_t, size_t> TrsStorage::KeyRange(int sectionId) const {
    const auto first = std::partition_point(
        keys_.begin(), keys_.end(), [&](const auto& key) { return key->sectionId < sectionId; });
    const auto last = std::partition_point(
        first, keys_.end(), [&](const auto& key) { return key->sectionId == sectionId; });
    return {static_cast<size_t>(first - keys_.begin()), static_cast<size_t>(last - keys_.begin())};
}

std::string TrsStorage::SectionFullName(int sectionId) const {
    std::vector<const TrsSection*> chain;
    for (int id = sectionId; id > kRootId && static_cast<size_t>(id) <= sectionsById_.size();) {
        const TrsSection* section = sectionsById_[static_cast<size_t>(id) - 1];
        chain.push_back(section);
        id = section->parentId;
    }
    std::string name;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!name.empty())
            name += '\\';
        name += (*it)->name;
    }
    return name;
}

} // namespace mirelon
