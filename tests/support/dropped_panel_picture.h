#pragma once

#include <QString>

class QWidget;

namespace mirelon {

class TfmDropDown;

// Drops the panel down at a fixed place over `parent`, saves a picture of it once it has
// painted, closes it, and says on stdout or stderr what became of the file.
bool SaveDroppedPanelPicture(TfmDropDown& panel, QWidget& parent, const QString& file);

} // namespace mirelon
