#pragma once

#include "exclusions/check_state_store.h"
#include "settings/rs_file.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace mirelon {

// The exclusion files: the whole check-state store as one node record for the root, little
// endian, no header. A record: identity length (int32) and identity; has-children (byte) and,
// when 1, the child count (int32) and the child records; storage flags, check state and check
// box kind (a byte each); two arrays of 16-bit numbers and one of bytes, each behind its int32
// count; a has-extra-object byte.

// Deeper nesting than this is taken for damage: no folder tree is that deep, and the reader
// must not run out of stack on a file made to look that deep.
inline constexpr int kMaxCheckStateDepth = 4096;

std::string EncodeCheckStateTree(const TCheckStateNode& root);

// Whether a stored item still exists; a child that does not is dropped with its subtree.
using TItemExists = std::function<bool(std::string_view identity)>;

struct TCheckStateDecoding {
    TCheckStateNode Root;
    // False when the bytes end early, go on after the root's record or hold what this program
    // cannot have written (a record below the root that names no item, unknown storage flags, a
    // check state above 5); Root then holds what came before.
    bool Complete = false;
    // Where the damage starts, when not complete.
    size_t DamageOffset = 0;
};

// Never throws on bad bytes and never allocates beyond what the bytes can hold. A node whose
// record is cut keeps its identity and the children read so far, and its state only when the
// state bytes were read.
TCheckStateDecoding DecodeCheckStateTree(std::string_view bytes, const TItemExists& exists);

struct TCheckStateLoad {
    bool Exists = false;
    bool Complete = false;
    // The file exists but the system would not give all its bytes; otherwise an incomplete file
    // is damaged.
    bool Unreadable = false;
    // Why the file could not be read to its end: the system's text, or "damaged at byte N".
    std::string Error;
};

// A missing file leaves the store empty; a damaged or unreadable one gives it the ticks read
// before the damage.
TCheckStateLoad LoadCheckStateFile(const std::string& path, TCheckStateStore& store,
                                   const TItemExists& exists);

inline constexpr char kDamagedFileSuffix[] = ".damaged";

// Keeps a file that could not be read fully beside it, as "<name>.damaged" (numbered when that
// is taken), before a new one is written in its place; the user may still want what it holds.
TrsRenameResult KeepDamagedFile(const std::string& path);

// Replaces the file in one step, so a failure never leaves it cut short; throws EFCreateError
// ("Cannot create file "<path>". <reason>") and leaves the old file as it was.
void SaveCheckStateFile(const std::string& path, const TCheckStateStore& store);

} // namespace mirelon
