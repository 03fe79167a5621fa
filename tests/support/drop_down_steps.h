#pragma once

#include <QPoint>

#include <functional>

class QWidget;

namespace mirelon {
class TfmDropDown;
}

namespace mirelon::test {

// Runs `steps` inside the panel's loop once the panel has dropped down.
void WhenDropped(TfmDropDown& panel, std::function<void()> steps);

// Drops the panel down at `at` over `parent` and runs `steps` inside its loop; returns once the
// panel has closed. A watchdog closes a panel that the steps leave open, so a fault fails the
// test instead of hanging it.
void ShowWhile(TfmDropDown& panel, QWidget& parent, QPoint at, std::function<void()> steps);

// The same without the roll-down, at a place where every panel fits on the test screen.
void ShowWhile(TfmDropDown& panel, QWidget& parent, std::function<void()> steps);

} // namespace mirelon::test
