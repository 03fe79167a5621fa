#pragma once

namespace mirelon {

inline constexpr int kExitSuccess = 0;
// Something was left out or could not be done: skipped files or folders, files without a
// checksum, a catalog that cannot be opened, read or written.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// 128 + the signal's number, as shells report a program that the signal ended: a scan stopped
// by a closed terminal (SIGHUP), by Ctrl-C (SIGINT) or by a request to stop (SIGTERM).
inline constexpr int kExitHangup = 129;
inline constexpr int kExitInterrupted = 130;
inline constexpr int kExitTerminated = 143;

} // namespace mirelon
