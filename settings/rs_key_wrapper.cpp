#include "settings/rs_key_wrapper.h"

#include "settings/rs_exception.h"
#include "settings/rs_storage.h"
#include "settings/rs_value_conversion.h"

namespace mirelon {

TrsKey& TrsKeyWrapper::Current() const {
    if (key_ == nullptr)
        throw TrsException("TrsStorage error: no current key.");
    return *key_;
}

const std::string& TrsKeyWrapper::Name() const {
    return Current().name;
}

std::string TrsKeyWrapper::SectionName() const {
    return storage_.SectionFullName(Current().sectionId);
}

std::string TrsKeyWrapper::FullPath() const {
    return "\\" + SectionName() + "\\" + Name();
}

const TrsValue& TrsKeyWrapper::Value() const {
    return Current().value;
}

void TrsKeyWrapper::WriteString(std::string value) {
    Current().value = std::move(value);
}

void TrsKeyWrapper::WriteInteger(int32_t value) {
    Current().value = value;
}

void TrsKeyWrapper::WriteFloat(double value) {
    Current().value = value;
}

void TrsKeyWrapper::WriteInt64(int64_t value) {
    Current().value = value;
}

void TrsKeyWrapper::WriteBoolean(bool value) {
    Current().value = value;
}

void TrsKeyWrapper::WriteVariant(TrsValue value) {
    Current().value = std::move(value);
}

int32_t TrsKeyWrapper::AsInteger() const {
    return ValueAsInteger(Value(), FullPath());
}

std::string TrsKeyWrapper::AsString() const {
    return ValueAsString(Value());
}

double TrsKeyWrapper::AsFloat() const {
    return ValueAsFloat(Value(), FullPath());
}

int64_t TrsKeyWrapper::AsInt64() const {
    return ValueAsInt64(Value(), FullPath());
}

} // namespace mirelon
