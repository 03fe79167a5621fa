#include "tests/support/dropped_panel_picture.h"

#include "panels/dropdown_form.h"

#include <QTimer>

#include <cstdio>

namespace mirelon {

bool SaveDroppedPanelPicture(TfmDropDown& panel, QWidget& parent, const QString& file) {
    bool saved = false;
    QObject::connect(
        &panel, &TfmDropDown::DroppedDown, &panel,
        [&] {
            // Let the panel paint before taking its picture.
            QTimer::singleShot(300, &panel, [&] {
                saved = panel.grab().save(file, "PNG");
                panel.CloseDropDown();
            });
        },
        Qt::SingleShotConnection);
    panel.ShowDropDown(&parent, 60, 60, -1, -1);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "Saved" : "Cannot write",
                 file.toLocal8Bit().constData());
    return saved;
}

} // namespace mirelon
