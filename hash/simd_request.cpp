#include "hash/simd_request.h"

#include <cstdlib>
#include <string_view>

namespace mirelon {

const char* HashSimdRequest() {
    static const char* const request = std::getenv("MIRELON_HASH_SIMD");
    return request;
}

bool HashSimdForcedScalar() {
    const char* request = HashSimdRequest();
    return request != nullptr && std::string_view(request) == "scalar";
}

} // namespace mirelon
