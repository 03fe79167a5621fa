#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace mirelon {

struct TrsBinary {
    std::vector<uint8_t> bytes;
    bool operator==(const TrsBinary&) const = default;
};

// Fixed point with four decimals: 1.5 is held as 15000.
struct TrsCurrency {
    int64_t scaled = 0;
    bool operator==(const TrsCurrency&) const = default;
};

// Days since 1899-12-30 00:00 local time, like the catalog's date-time values.
struct TrsDateTime {
    double days = 0;
    bool operator==(const TrsDateTime&) const = default;
};

struct TrsPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const TrsPoint&) const = default;
};

// The alternatives are in the order of TrsValueType.
using TrsValue = std::variant<std::monostate, std::string, TrsBinary, int32_t, double, TrsCurrency,
                              TrsDateTime, bool, TrsPoint, int64_t>;

enum class TrsValueType {
    Empty,
    String,
    Binary,
    Integer,
    Float,
    Currency,
    DateTime,
    Boolean,
    Point,
    Int64,
};

inline TrsValueType TypeOf(const TrsValue& value) {
    return static_cast<TrsValueType>(value.index());
}

} // namespace mirelon
