#pragma once

#include "thread/window_thread.h"

#include <functional>
#include <memory>

namespace mirelon {

using TWindowThreadFactory = std::function<std::shared_ptr<IWindowThread>()>;

// Chooses how the window thread is made when the first worker registers; an empty factory
// restores the plain one. The window program installs its own before creating any window.
void SetWindowThreadFactory(TWindowThreadFactory factory);

// Registers one worker. All workers share one window thread object, which exists while at
// least one registration is held and is made afresh after the last one has gone.
std::shared_ptr<IWindowThread> RegisterWithWindowThread();

} // namespace mirelon
