#pragma once

#include "settings/rs_value.h"

#include <cstdint>
#include <string>

namespace mirelon {

class TrsStorage;
struct TrsKey;

// Typed access to the store's current key, the one the last FindKey found or made.
// Without a current key every call raises TrsException.
class TrsKeyWrapper {
public:
    explicit TrsKeyWrapper(const TrsStorage& storage) : storage_(storage) {}

    bool Assigned() const { return key_ != nullptr; }
    const std::string& Name() const;
    // The full name of the key's section, as its header in the file shows it; empty for the root.
    std::string SectionName() const;
    // "\" + section path + "\" + key name, the form error texts use.
    std::string FullPath() const;
    TrsValueType Type() const { return TypeOf(Value()); }
    const TrsValue& Value() const;

    // Each write replaces the key's former type.
    void WriteString(std::string value);
    void WriteInteger(int32_t value);
    void WriteFloat(double value);
    void WriteInt64(int64_t value);
    void WriteBoolean(bool value);
    void WriteVariant(TrsValue value);

    int32_t AsInteger() const;
    std::string AsString() const;
    double AsFloat() const;
    int64_t AsInt64() const;
    TrsValue AsVariant() const { return Value(); }

private:
    friend class TrsStorage;
    TrsKey& Current() const;

    const TrsStorage& storage_;
    TrsKey* key_ = nullptr;
};

} // namespace mirelon
