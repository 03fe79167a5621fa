#pragma once

#include <QMetaProperty>
#include <QObject>
#include <QString>

#include <optional>

namespace mirelon {

struct TrsPropertyTarget {
    QObject* object = nullptr;
    QMetaProperty property;
};

// Resolves a dotted property path such as "cboHashMethod.ItemIndex" from a window. Each part
// before the last names a QObject-valued property of the current object or, failing that, an
// object below it with that objectName (nearest first); the last part names a property of the
// object reached. Letter case is ignored throughout. Where no property has the last part's name,
// a few names of the settings file map to Qt's: "ItemIndex" to "currentIndex" and "Value" to
// "text"; "Value" and "Width" already match "value" and "width" by letter case alone.
std::optional<TrsPropertyTarget> ResolvePropertyPath(QObject* root, const QString& path);

} // namespace mirelon
