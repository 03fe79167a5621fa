#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirelon {

// The pieces of a freedesktop.org trash entry that need no system call: the record in info/
// and the entry's name in files/.

// A name in a trash folder may be at most this many bytes, as on the usual file systems.
inline constexpr std::size_t kTrashNameBytes = 255;
inline constexpr std::string_view kTrashInfoSuffix = ".trashinfo";

// The Path value of a record: every byte but the unreserved characters of a URI and '/' is
// percent-encoded, so that any name (a line feed, quotes, bytes that are not UTF-8) keeps to its
// one line and decodes back to the same bytes.
std::string EncodeTrashInfoPath(std::string_view path);

// The whole record: "[Trash Info]", then Path and DeletionDate ("YYYY-MM-DDThh:mm:ss", local
// time) lines.
std::string TrashInfoText(std::string_view path, std::string_view deletionDate);

// The name of the entry in files/ at the given attempt: the file's own name first, then
// "stem.2.ext", "stem.3.ext" ..., the extension kept so that file managers still know the kind.
// Cut, never inside a UTF-8 sequence, so that the record's name (this name plus ".trashinfo")
// fits kTrashNameBytes.
std::string TrashEntryName(std::string_view fileName, int attempt);

} // namespace mirelon
