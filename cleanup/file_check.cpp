#include "cleanup/file_check.h"

#include "base/ascii_case.h"
#include "cleanup/file_lookup.h"
#include "hash/file_reader.h"
#include "hash/hash_service.h"
#include "hash/method_table.h"
#include "scan/file_times.h"

#include <algorithm>
#include <span>

namespace mirelon {

namespace {

constexpr std::size_t kReadBytes = 1 << 20;

enum class HashMatch { Matches, Differs, Unreadable };

// Hashes the file once with every method at the same time.
HashMatch MatchesAnyMethod(const std::string& path, std::span<const int32_t> methods,
                           std::string_view checkSum, std::string& reason) {
    std::vector<HashContext> contexts(methods.size());
    for (std::size_t i = 0; i < methods.size(); ++i) {
        HashInit(&contexts[i], methods[i]);
    }
    FileReader reader;
    if (!reader.Open(path)) {
        reason = HashFileFailureText(kHashCannotOpen);
        return HashMatch::Unreadable;
    }
    std::vector<uint8_t> buffer(kReadBytes);
    uint64_t offset = 0;
    for (;;) {
        const int64_t count = reader.ReadAt(offset, buffer.data(), buffer.size());
        if (count < 0) {
            reason = HashFileFailureText(kHashReadFailed);
            return HashMatch::Unreadable;
        }
        if (count == 0) {
            break;
        }
        for (HashContext& context : contexts) {
            HashUpdate(&context, buffer.data(), static_cast<uint32_t>(count));
        }
        offset += static_cast<uint64_t>(count);
    }
    bool matches = false;
    for (HashContext& context : contexts) {
        std::string text;
        if (HashFinal(&context, text) == kHashOk && EqualIgnoringAsciiCase(text, checkSum)) {
            matches = true;
        }
    }
    return matches ? HashMatch::Matches : HashMatch::Differs;
}

} // namespace

std::vector<int32_t> CandidateHashMethods(std::string_view checkSum, int32_t likely,
                                          bool onlyLikely) {
    std::vector<int32_t> methods;
    const auto length = static_cast<int>(checkSum.size());
    if (likely != 0 && (onlyLikely || HashTextLength(likely) == length)) {
        methods.push_back(likely);
    }
    if (onlyLikely) {
        return methods;
    }
    for (const HashMethod& method : HashMethods()) {
        if (method.id != likely && method.textLength == length) {
            methods.push_back(method.id);
        }
    }
    return methods;
}

std::string CheckUnchanged(const FileRecord& file, const std::vector<int32_t>& methods) {
    // Read as the scan reads it, so that stamps compare.
    FileFacts facts;
    if (!ReadFileFacts(file.path, facts)) {
        return LookUpFailure(file.path);
    }
    if (!facts.isRegular) {
        return "is no longer a regular file";
    }
    const FileStamp& now = facts.stamp;
    if (now.size != file.size) {
        return "changed since the scan (" + std::to_string(now.size) + " bytes, catalogued " +
               std::to_string(file.size) + ")";
    }
    if (file.stamp) {
        return now == *file.stamp ? std::string() : "changed since the scan";
    }
    if (file.checkSum.empty()) {
        return "has no checksum in the catalog to compare with";
    }
    std::string reason;
    if (methods.empty()) {
        return "its checksum is of no known hash method";
    }
    const std::span<const int32_t> all(methods);
    for (const std::span<const int32_t> tried : {all.first(1), all.subspan(1)}) {
        if (tried.empty()) {
            continue;
        }
        switch (MatchesAnyMethod(file.path, tried, file.checkSum, reason)) {
        case HashMatch::Matches:
            return {};
        case HashMatch::Unreadable:
            return reason;
        case HashMatch::Differs:
            break;
        }
    }
    return "changed since the scan (its checksum differs)";
}

} // namespace mirelon
