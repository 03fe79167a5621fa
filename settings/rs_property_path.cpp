#include "settings/rs_property_path.h"

#include <QMetaObject>
#include <QQueue>
#include <QStringList>

namespace mirelon {

namespace {

int FindPropertyIndex(const QMetaObject* meta, const QString& name) {
    for (int i = 0; i < meta->propertyCount(); ++i)
        if (name.compare(QLatin1String(meta->property(i).name()), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Nullopt when the object has no QObject-valued property of that name; an empty one gives null.
std::optional<QObject*> ObjectProperty(QObject* object, const QString& name) {
    const QMetaObject* meta = object->metaObject();
    const int index = FindPropertyIndex(meta, name);
    if (index < 0)
        return std::nullopt;
    const QMetaProperty property = meta->property(index);
    if (!(property.metaType().flags() & QMetaType::PointerToQObject))
        return std::nullopt;
    return property.read(object).value<QObject*>();
}

// Qt nests controls in layouts' widgets and group boxes, so the owned object can be at any
// depth; the nearest one wins when two share a name.
QObject* OwnedObject(QObject* owner, const QString& name) {
    QQueue<QObject*> pending;
    pending.enqueue(owner);
    while (!pending.isEmpty()) {
        for (QObject* child : pending.dequeue()->children()) {
            if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
                return child;
            pending.enqueue(child);
        }
    }
    return nullptr;
}

int FindLastPartIndex(const QMetaObject* meta, const QString& name) {
    const int direct = FindPropertyIndex(meta, name);
    if (direct >= 0)
        return direct;
    static const struct {
        const char* settingsName;
        const char* qtName;
    } kAliases[] = {{"ItemIndex", "currentIndex"}, {"Value", "text"}};
    for (const auto& alias : kAliases)
        if (name.compare(QLatin1String(alias.settingsName), Qt::CaseInsensitive) == 0)
            return meta->indexOfProperty(alias.qtName);
    return -1;
}

} // namespace

std::optional<TrsPropertyTarget> ResolvePropertyPath(QObject* root, const QString& path) {
    const QStringList parts = path.split(QLatin1Char('.'));
    QObject* current = root;
    for (qsizetype i = 0; current != nullptr && i + 1 < parts.size(); ++i) {
        const std::optional<QObject*> property = ObjectProperty(current, parts[i]);
        current = property ? *property : OwnedObject(current, parts[i]);
    }
    if (current == nullptr || parts.back().isEmpty())
        return std::nullopt;
    const int index = FindLastPartIndex(current->metaObject(), parts.back());
    if (index < 0)
        return std::nullopt;
    return TrsPropertyTarget{current, current->metaObject()->property(index)};
}

} // namespace mirelon
