#pragma once

#include "hash/hash_state.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace mirelon {

// One hash method of the checksum service: how to create, feed and finish its state, and how
// its result becomes checksum text.
struct HashMethod {
    int32_t id;
    const char* name;
    int textLength;
    int32_t passes;
    std::unique_ptr<HashState> (*create)();
    void (*update)(HashState& state, const uint8_t* bytes, size_t count, int32_t passes);
    std::string (*finish)(HashState& state, int32_t passes);
};

// The registered methods in ascending ID order.
std::span<const HashMethod> HashMethods();

// nullptr for an ID that is outside the table or not registered.
const HashMethod* FindHashMethod(int32_t id);

} // namespace mirelon
