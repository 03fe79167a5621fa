// Reads arbitrary bytes as a settings file and reads every key as each type. Then checks the
// writer against the reader: once a text has been through both, reading what was written gives
// the same sections, keys and values, except that a string which itself begins and ends with a
// double quote, and holds no control character, is written as it stands and so reads back
// without those quotes.
#include "settings/rs_ini_reader.h"
#include "settings/rs_ini_writer.h"
#include "settings/rs_storage.h"
#include "settings/rs_value_conversion.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace {

using mirelon::TrsStorage;
using mirelon::TrsValue;

void ReadEveryKey(const TrsStorage& storage) {
    for (size_t i = 0; i < storage.KeyCount(); ++i) {
        const TrsValue& value = storage.KeyAt(i).value;
        (void)mirelon::ValueAsString(value);
        try {
            (void)mirelon::ValueAsInteger(value, "\\k");
        } catch (const std::exception&) {
        }
        try {
            (void)mirelon::ValueAsFloat(value, "\\k");
        } catch (const std::exception&) {
        }
        try {
            (void)mirelon::ValueAsInt64(value, "\\k");
        } catch (const std::exception&) {
        }
    }
}

TrsValue ExpectedAfterRereading(const TrsValue& value) {
    const auto* text = std::get_if<std::string>(&value);
    if (text == nullptr || text->size() < 2 || text->front() != '"' || text->back() != '"')
        return value;
    // The escaped form, used for control characters, keeps the quotes.
    for (const char c : *text)
        if (static_cast<unsigned char>(c) < 32)
            return value;
    return text->substr(1, text->size() - 2);
}

using KeyMap = std::map<std::pair<std::string, std::string>, TrsValue>;

KeyMap KeysByPath(const TrsStorage& storage) {
    KeyMap keys;
    for (size_t i = 0; i < storage.KeyCount(); ++i) {
        const mirelon::TrsKey& key = storage.KeyAt(i);
        keys[{storage.SectionFullName(key.sectionId), key.name}] = key.value;
    }
    return keys;
}

[[noreturn]] void Fail(const char* what, const std::string& written) {
    std::fprintf(stderr, "%s after rereading:\n%s\n", what, written.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TrsStorage original;
    mirelon::ReadIniText(std::string_view(reinterpret_cast<const char*>(data), size), original);
    ReadEveryKey(original);

    // The first pass settles the free forms of the input (signs, letter case, number spelling).
    TrsStorage settled;
    mirelon::ReadIniText(mirelon::IniText(original), settled);
    const std::string written = mirelon::IniText(settled);
    TrsStorage reread;
    mirelon::ReadIniText(written, reread);

    // Table order follows section ids, which follow the order of creation, so compare by path.
    const KeyMap before = KeysByPath(settled);
    const KeyMap after = KeysByPath(reread);
    if (before.size() != after.size())
        Fail("different keys", written);
    for (const auto& [path, value] : before) {
        const auto found = after.find(path);
        if (found == after.end())
            Fail("missing key", written);
        if (found->second != ExpectedAfterRereading(value))
            Fail("different value", written);
    }
    return 0;
}
