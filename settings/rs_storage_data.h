#pragma once

#include <string>

namespace mirelon {

class TrsStorage;

// A back end that fills a store from its medium and writes a store to it.
class TrsStorageData {
public:
    virtual ~TrsStorageData() = default;
    // Adds what the medium holds to the store; a missing or unreadable medium adds nothing.
    virtual void Load(TrsStorage& storage) = 0;
    // Writes the whole store; throws when the medium cannot be written.
    virtual void Save(const TrsStorage& storage) = 0;
    // Where the settings are kept, as the user would look for them; empty when nowhere.
    virtual std::string Location() const { return {}; }
};

} // namespace mirelon
