#include "cli/cli_scan_progress.h"

#include "scan/scan_run.h"

#include <cstdio>

namespace mirelon {

namespace {

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Characters as a terminal counts them, near enough: UTF-8 continuation bytes take no column.
std::size_t DisplayLength(const std::string& text) {
    std::size_t length = 0;
    for (const char c : text) {
        length += IsUtf8Continuation(c) ? 0 : 1;
    }
    return length;
}

// The last `columns` characters of text, never starting inside a character.
std::string KeepEnd(const std::string& text, std::size_t columns) {
    std::size_t kept = 0;
    std::size_t start = text.size();
    while (start > 0 && kept < columns) {
        --start;
        if (!IsUtf8Continuation(text[start])) {
            ++kept;
        }
    }
    return text.substr(start);
}

// Control characters in a file name would move the cursor.
std::string Printable(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return out;
}

} // namespace

std::string ScanProgressLine(int64_t files, uint64_t bytes, double seconds,
                             const std::string& folder, int columns, const std::string& counts) {
    char figures[96];
    const double megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
    const double rate = seconds > 0 ? static_cast<double>(files) / seconds : 0.0;
    std::snprintf(figures, sizeof figures, "%lld files", static_cast<long long>(files));
    std::string line = figures;
    if (!counts.empty()) {
        line += " (" + counts + ")";
    }
    std::snprintf(figures, sizeof figures, "  %.1f MB  %.0f files/s  ", megabytes, rate);
    line += figures;
    // The last column stays free: writing into it makes some terminals wrap.
    const std::size_t width = columns > 1 ? static_cast<std::size_t>(columns - 1) : 0;
    if (line.size() >= width) {
        return line.substr(0, width);
    }
    const std::size_t room = width - line.size();
    const std::string shown = Printable(folder);
    if (DisplayLength(shown) <= room) {
        return line + shown;
    }
    if (room <= 3) {
        return line;
    }
    return line + "..." + KeepEnd(shown, room - 3);
}

TCliScanProgress::TCliScanProgress(std::ostream& err, bool visible, int columns,
                                   std::function<bool()> interrupted)
    : err_(err), visible_(visible), columns_(columns), interrupted_(std::move(interrupted)),
      start_(std::chrono::steady_clock::now()), lastRedraw_(start_ - kRedrawInterval) {}

void TCliScanProgress::ScannedCount(int64_t count) {
    count_ = count;
    PollInterrupt();
    Redraw(false);
}

void TCliScanProgress::ScanningFolder(const std::string& folder) {
    folder_ = folder;
    PollInterrupt();
    Redraw(false);
}

void TCliScanProgress::PollInterrupt() {
    if (!abortSent_ && run_ != nullptr && interrupted_ && interrupted_()) {
        run_->RequestAbort();
        abortSent_ = true;
    }
}

void TCliScanProgress::Redraw(bool force) {
    if (!visible_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastRedraw_ < kRedrawInterval) {
        return;
    }
    lastRedraw_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const uint64_t bytes = run_ != nullptr ? run_->BytesHashed() : 0;
    const std::string counts = run_ != nullptr ? run_->CountsText() : std::string();
    err_ << "\r\033[K" << ScanProgressLine(count_, bytes, seconds, folder_, columns_, counts)
         << std::flush;
    lineShown_ = true;
}

void TCliScanProgress::Clear() {
    if (lineShown_) {
        err_ << "\r\033[K" << std::flush;
        lineShown_ = false;
    }
}

} // namespace mirelon
