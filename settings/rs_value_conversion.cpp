#include "settings/rs_value_conversion.h"

#include "base/hex_text.h"
#include "base/message_text.h"
#include "catalog/date_time.h"
#include "settings/rs_exception.h"
#include "settings/rs_number_text.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace mirelon {

namespace {

[[noreturn]] void ThrowWrongType(std::string_view keyPath, const char* typeName) {
    throw TrsException("TrsStorage get key value error: Can't read value of key \"" +
                       std::string(keyPath) + "\" as " + typeName + " type.");
}

std::string_view SkipLeadingBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

// Leading blanks are allowed before the number, as the platform's conversion allows them. The
// message quotes a long text only in part: a value of megabytes would make a message box lay
// out all of it.
template <typename Int>
Int ParseOrThrow(const std::string& text, std::optional<Int> (*parse)(std::string_view)) {
    if (const auto value = parse(SkipLeadingBlanks(text)))
        return *value;
    throw EConvertError("'" + ShortenedForMessage(text) + "' is not a valid integer value");
}

// Halves go to the even neighbour; values outside the target range cannot be read.
template <typename Int> std::optional<Int> RoundToInteger(double value) {
    const double rounded = std::nearbyint(value);
    // Both bounds are exact powers of two, so the comparisons are exact.
    const double upper = -static_cast<double>(std::numeric_limits<Int>::min());
    if (!(rounded >= -upper && rounded < upper))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

int64_t RoundCurrency(int64_t scaled) {
    int64_t whole = scaled / 10000;
    const int64_t rest = scaled % 10000;
    const int64_t absRest = rest < 0 ? -rest : rest;
    if (absRest > 5000 || (absRest == 5000 && whole % 2 != 0))
        whole += rest < 0 ? -1 : 1;
    return whole;
}

template <typename T> T FromBytes(const TrsBinary& binary) {
    T value;
    std::memcpy(&value, binary.bytes.data(), sizeof value);
    return value;
}

std::string HexText(const TrsBinary& binary) {
    std::string text;
    for (const uint8_t byte : binary.bytes) {
        AppendHexByte(text, byte, THexLetters::Upper);
    }
    return text;
}

} // namespace

int32_t ValueAsInteger(const TrsValue& value, std::string_view keyPath) {
    constexpr const char* kType = "integer";
    switch (TypeOf(value)) {
    case TrsValueType::Empty:
        return 0;
    case TrsValueType::Integer:
        return std::get<int32_t>(value);
    case TrsValueType::Int64:
        return static_cast<int32_t>(static_cast<uint32_t>(std::get<int64_t>(value)));
    case TrsValueType::String:
        return ParseOrThrow(std::get<std::string>(value), ParseInt32);
    case TrsValueType::Float:
        if (const auto rounded = RoundToInteger<int32_t>(std::get<double>(value)))
            return *rounded;
        break;
    case TrsValueType::DateTime:
        if (const auto rounded = RoundToInteger<int32_t>(std::get<TrsDateTime>(value).days))
            return *rounded;
        break;
    case TrsValueType::Currency: {
        const int64_t whole = RoundCurrency(std::get<TrsCurrency>(value).scaled);
        if (whole >= INT32_MIN && whole <= INT32_MAX)
            return static_cast<int32_t>(whole);
        break;
    }
    case TrsValueType::Boolean:
        return std::get<bool>(value) ? 1 : 0;
    case TrsValueType::Binary:
        if (std::get<TrsBinary>(value).bytes.size() == sizeof(int32_t))
            return FromBytes<int32_t>(std::get<TrsBinary>(value));
        break;
    case TrsValueType::Point:
        break;
    }
    ThrowWrongType(keyPath, kType);
}

std::string ValueAsString(const TrsValue& value) {
    switch (TypeOf(value)) {
    case TrsValueType::Empty:
        return {};
    case TrsValueType::String:
        return std::get<std::string>(value);
    case TrsValueType::Binary:
        return HexText(std::get<TrsBinary>(value));
    case TrsValueType::Integer:
        return std::to_string(std::get<int32_t>(value));
    case TrsValueType::Float:
        return FormatFloat(std::get<double>(value));
    case TrsValueType::Currency:
        return FormatCurrency(std::get<TrsCurrency>(value).scaled);
    case TrsValueType::DateTime:
        return DateText(std::get<TrsDateTime>(value).days);
    case TrsValueType::Boolean:
        return std::get<bool>(value) ? "True" : "False";
    case TrsValueType::Point: {
        const TrsPoint& point = std::get<TrsPoint>(value);
        return "(" + std::to_string(point.x) + "," + std::to_string(point.y) + ")";
    }
    case TrsValueType::Int64:
        return std::to_string(std::get<int64_t>(value));
    }
    return {};
}

double ValueAsFloat(const TrsValue& value, std::string_view keyPath) {
    switch (TypeOf(value)) {
    case TrsValueType::Empty:
        return 0;
    case TrsValueType::Float:
        return std::get<double>(value);
    case TrsValueType::String: {
        const std::string& text = std::get<std::string>(value);
        if (const auto parsed = ParseFloat(SkipLeadingBlanks(text)))
            return *parsed;
        throw EConvertError("'" + ShortenedForMessage(text) +
                            "' is not a valid floating point value");
    }
    case TrsValueType::Integer:
        return std::get<int32_t>(value);
    case TrsValueType::Currency:
        return static_cast<double>(std::get<TrsCurrency>(value).scaled) / 10000.0;
    case TrsValueType::Int64:
        return static_cast<double>(std::get<int64_t>(value));
    case TrsValueType::Binary:
        if (std::get<TrsBinary>(value).bytes.size() == sizeof(double))
            return FromBytes<double>(std::get<TrsBinary>(value));
        break;
    default:
        break;
    }
    ThrowWrongType(keyPath, "float");
}

int64_t ValueAsInt64(const TrsValue& value, std::string_view keyPath) {
    switch (TypeOf(value)) {
    case TrsValueType::Empty:
        return 0;
    case TrsValueType::Int64:
        return std::get<int64_t>(value);
    case TrsValueType::Integer:
        return std::get<int32_t>(value);
    case TrsValueType::String:
        return ParseOrThrow(std::get<std::string>(value), ParseInt64);
    case TrsValueType::Float:
        if (const auto rounded = RoundToInteger<int64_t>(std::get<double>(value)))
            return *rounded;
        break;
    case TrsValueType::Currency:
        return RoundCurrency(std::get<TrsCurrency>(value).scaled);
    case TrsValueType::Binary:
        if (std::get<TrsBinary>(value).bytes.size() == sizeof(int64_t))
            return FromBytes<int64_t>(std::get<TrsBinary>(value));
        break;
    default:
        break;
    }
    ThrowWrongType(keyPath, "Int64");
}

} // namespace mirelon
