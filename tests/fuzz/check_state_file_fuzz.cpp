// The exclusion file reader on any bytes: it must not crash, hang, allocate beyond the input or
// overflow the stack, and whatever it read must write back and read back as the same nodes.
#include "exclusions/check_state_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace mirelon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Decided by the identity alone, so both kept and dropped children are explored without the
    // disk deciding.
    const TItemExists someExist = [](std::string_view identity) {
        return identity.size() % 3 != 0;
    };
    const TCheckStateDecoding decoding = DecodeCheckStateTree(bytes, someExist);

    const TItemExists allExist = [](std::string_view) { return true; };
    const TCheckStateDecoding again =
        DecodeCheckStateTree(EncodeCheckStateTree(decoding.Root), allExist);
    if (!again.Complete || !(again.Root == decoding.Root)) {
        std::abort();
    }
    return 0;
}
