#pragma once

#include <cstdint>
#include <memory>

namespace mirelon {

// The algorithm state of one open computation, owned by its HashContext. Each algorithm keeps
// its own plain state record inside a HashStateOf; `method` remembers which algorithm that is,
// so a context whose method was changed after HashInit is never fed to the wrong record.
struct HashState {
    virtual ~HashState() = default;
    int32_t method = 0;
};

template <typename State> struct HashStateOf final : HashState { State value{}; };

template <typename State> State& StateOf(HashState& state) {
    return static_cast<HashStateOf<State>&>(state).value;
}

template <typename State, void (*Init)(State&)> std::unique_ptr<HashState> CreateHashState() {
    auto state = std::make_unique<HashStateOf<State>>();
    Init(state->value);
    return state;
}

} // namespace mirelon
