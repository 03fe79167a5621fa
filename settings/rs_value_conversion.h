#pragma once

#include "settings/rs_value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace mirelon {

// Reading a key's value as a type. keyPath ("\section\key") names the key in the TrsException
// raised when the stored type cannot be read as the type asked for; a string that does not parse
// as the number asked for raises EConvertError instead.
int32_t ValueAsInteger(const TrsValue& value, std::string_view keyPath);
std::string ValueAsString(const TrsValue& value);
double ValueAsFloat(const TrsValue& value, std::string_view keyPath);
int64_t ValueAsInt64(const TrsValue& value, std::string_view keyPath);

} // namespace mirelon
