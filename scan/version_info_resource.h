#pragma once

#include <cstdint>
#include <vector>

namespace mirelon {

class TPeImage;

// The bytes of the image's version resource: resource type 16, its first name, the first
// language of that. False when there is none or the resource tables are damaged.
bool ReadVersionResource(const TPeImage& image, std::vector<uint8_t>& data);

} // namespace mirelon
