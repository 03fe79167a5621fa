#pragma once

namespace mirelon {

// The environment variable MIRELON_HASH_SIMD, read once; nullptr when unset. It exists for tests
// and benchmarks, to run each code path on one machine: "scalar" forces the portable code of
// every checksum (the lanes' single-stream transform, the CRCs' tables); "avx2" and "avx512"
// name a lane path.
const char* HashSimdRequest();
bool HashSimdForcedScalar();

} // namespace mirelon
