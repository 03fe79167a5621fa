#pragma once

namespace mirelon {

inline constexpr int kExitSuccess = 0;
// Something was left out or could not be done: skipped files, files without a checksum, a
// catalog that cannot be opened or read.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// 128 + SIGINT, as shells report a program ended by Ctrl-C.
inline constexpr int kExitInterrupted = 130;

} // namespace mirelon
