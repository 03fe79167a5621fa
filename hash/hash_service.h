#pragma once

#include "base/file_location.h"
#include "base/hex_text.h"
#include "hash/hash_state.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mirelon {

// Method IDs: 257 to 268 are the selectable methods ("MD2" to "HAVAL256"), 269 to 277 the
// others.
inline constexpr int32_t kHashMethodFirst = 257;
inline constexpr int32_t kHashMethodLast = 277;
inline constexpr int32_t kSelectableHashMethodCount = 12;

// Result codes of the service's functions.
inline constexpr int kHashOk = 0;
inline constexpr int kHashUnknownMethod = 1;
inline constexpr int kHashNoContext = 2;
inline constexpr int kHashNotOpen = 3;    // the context holds no open computation
inline constexpr int kHashReadFailed = 4; // the file could not be read over its whole range
inline constexpr int kHashCannotOpen = 5; // the file could not be opened, or is no regular file

// One computation, owned by the caller: closed while `state` is null.
struct HashContext {
    std::unique_ptr<HashState> state;
    int32_t method = 0;
    int32_t passes = 0;
};

int HashInit(HashContext* context, int32_t method);
int HashUpdate(HashContext* context, const void* bytes, uint32_t count);
// Assigns `text` only on success; the context is closed afterwards.
int HashFinal(HashContext* context, std::string& text);

// The file's full size, or -1 when it cannot be opened as a regular file.
int64_t HashFileSize(const std::string& fileName);
// Feeds the bytes from `start` up to, not including, `end` to HashUpdate. False when the context
// is not open, the file cannot be opened, or the range cannot be read in full.
bool HashFileRange(HashContext* context, const std::string& fileName, uint64_t start, uint64_t end);
// The whole file's checksum text; `text` is assigned only when the code is kHashOk.
int HashFile(int32_t method, const FileLocation& file, std::string& text);
// Why a file got no checksum, in words for a person.
const char* HashFileFailureText(int code);

// "MD2" .. "RIPEMD160"; nullptr for an unknown or unregistered ID.
const char* HashMethodName(int32_t method);
// Letter case ignored; 0 if unknown.
int32_t HashMethodByName(std::string_view name);
// The fixed checksum text length; 0 if unknown.
int HashTextLength(int32_t method);

} // namespace mirelon
