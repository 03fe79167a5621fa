#include "settings/rs_ini_writer.h"

#include "settings/rs_storage.h"
#include "settings/rs_value_text.h"

namespace mirelon {

namespace {

void WriteSection(const TrsStorage& storage, int sectionId, std::string& out) {
    const auto [first, last] = storage.KeyRange(sectionId);
    if (first == last && (storage.Options() & soSaveEmptySection) == 0)
        return;
    out += '[';
    out += storage.SectionFullName(sectionId);
    out += "]\r\n";
    for (size_t i = first; i < last; ++i) {
        const TrsKey& key = storage.KeyAt(i);
        out += key.name;
        out += '=';
        out += FormatValueText(key.value);
        out += "\r\n";
    }
    out += "\r\n";
}

} // namespace

std::string IniText(const TrsStorage& storage) {
    std::string out;
    const auto [rootFirst, rootLast] = storage.KeyRange(TrsStorage::kRootId);
    if (rootFirst != rootLast)
        WriteSection(storage, TrsStorage::kRootId, out);
    for (size_t i = 0; i < storage.SectionCount(); ++i)
        WriteSection(storage, storage.SectionAt(i).id, out);
    return out;
}

} // namespace mirelon
