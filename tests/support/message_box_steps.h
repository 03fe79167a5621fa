#pragma once

#include <functional>

class QMessageBox;

namespace mirelon::test {

// Runs `steps` on the next message box that opens, from inside the box's own loop. A box the
// steps leave open is rejected after a while, so a fault fails the test instead of hanging it.
// Call before the code that shows the box; after ten seconds without a box it gives up.
void WhenMessageBoxShows(std::function<void(QMessageBox& box)> steps);

} // namespace mirelon::test
