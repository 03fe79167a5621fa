#include "thread/window_thread_registry.h"

#include "thread/plain_window_thread.h"

#include <mutex>
#include <utility>

namespace mirelon {

namespace {

struct TRegistry {
    std::mutex lock;
    TWindowThreadFactory factory;
    std::weak_ptr<IWindowThread> current;
};

TRegistry& Registry() {
    static TRegistry registry;
    return registry;
}

} // namespace

void SetWindowThreadFactory(TWindowThreadFactory factory) {
    TRegistry& registry = Registry();
    std::lock_guard guard(registry.lock);
    registry.factory = std::move(factory);
}

std::shared_ptr<IWindowThread> RegisterWithWindowThread() {
    TRegistry& registry = Registry();
    std::lock_guard guard(registry.lock);
    if (auto existing = registry.current.lock()) {
        return existing;
    }
    std::shared_ptr<IWindowThread> made =
        registry.factory ? registry.factory() : std::make_shared<TPlainWindowThread>();
    registry.current = made;
    return made;
}

} // namespace mirelon
