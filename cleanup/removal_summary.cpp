#include "cleanup/removal_summary.h"

#include "base/message_text.h"

namespace mirelon {

namespace {

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

void RemovalTally::Count(const FileRecord& file, const RemovalOutcome& outcome) {
    if (outcome.removed) {
        ++removed;
        removedBytes += file.size;
    } else {
        ++failed;
    }
}

std::string RemovalSummaryText(const RemovalTally& tally, const RemovalOptions& options) {
    const bool trash = options.kind == RemovalKind::MoveToTrash;
    std::string text = Counted(tally.removed, "file", "files");
    if (options.dryRun) {
        text += trash ? " would be moved to the trash" : " would be deleted";
    } else {
        text += trash ? " moved to the trash" : " deleted";
    }
    text += " (" + MegabytesText(tally.removedBytes) + ")";
    if (tally.failed > 0) {
        text += "; " + std::to_string(tally.failed) + " failed";
    }
    if (tally.untouchedGroups > 0) {
        text += "; " + Counted(tally.untouchedGroups, "group", "groups") + " left untouched";
    }
    return text;
}

} // namespace mirelon
