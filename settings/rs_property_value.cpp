#include "settings/rs_property_value.h"

#include "settings/rs_key_wrapper.h"
#include "settings/rs_text_compare.h"

#include <QMetaEnum>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace mirelon {

namespace {

enum class StoredKind { Integer, Float, String, Int64, StringList, Boolean, Unsupported };

StoredKind KindOf(QMetaType type) {
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::QChar:
        return StoredKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return StoredKind::Float;
    case QMetaType::QString:
        return StoredKind::String;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return StoredKind::Int64;
    case QMetaType::QStringList:
        return StoredKind::StringList;
    case QMetaType::Bool:
        return StoredKind::Boolean;
    default:
        return StoredKind::Unsupported;
    }
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::string SetText(const QMetaEnum& meta, int value) {
    QByteArray keys = meta.valueToKeys(value);
    keys.replace('|', ',');
    return "[" + keys.toStdString() + "]";
}

std::optional<int> EnumValue(const QMetaEnum& meta, QStringView identifier) {
    for (int i = 0; i < meta.keyCount(); ++i)
        if (identifier.compare(QLatin1String(meta.key(i)), Qt::CaseInsensitive) == 0)
            return meta.value(i);
    return std::nullopt;
}

std::optional<int> SetValue(const QMetaEnum& meta, const TrsKeyWrapper& key) {
    if (key.Type() == TrsValueType::Integer)
        return key.AsInteger();
    QString text = FromUtf8(key.AsString()).trimmed();
    if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']')))
        text = text.mid(1, text.size() - 2);
    int bits = 0;
    for (const QString& member : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const std::optional<int> value = EnumValue(meta, member.trimmed());
        if (!value)
            return std::nullopt;
        bits |= *value;
    }
    return bits;
}

QString StringListText(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1String("\r\n");
    return text;
}

QStringList StringListLines(const QString& text) {
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalised.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

bool SavePropertyValue(const QObject& object, const QMetaProperty& property, TrsKeyWrapper& key) {
    if (!property.isReadable())
        return false;
    const QVariant value = property.read(&object);
    if (property.isEnumType()) {
        const QMetaEnum meta = property.enumerator();
        const int bits = value.toInt();
        if (property.isFlagType()) {
            key.WriteString(SetText(meta, bits));
        } else if (const char* identifier = meta.valueToKey(bits)) {
            key.WriteString(identifier);
        } else {
            key.WriteInteger(bits);
        }
        return true;
    }
    switch (KindOf(property.metaType())) {
    case StoredKind::Integer:
        key.WriteInteger(static_cast<int32_t>(value.toLongLong()));
        return true;
    case StoredKind::Float:
        key.WriteFloat(value.toDouble());
        return true;
    case StoredKind::String:
        key.WriteString(Utf8(value.toString()));
        return true;
    case StoredKind::Int64:
        key.WriteInt64(value.toLongLong());
        return true;
    case StoredKind::StringList:
        key.WriteString(Utf8(StringListText(value.toStringList())));
        return true;
    case StoredKind::Boolean:
        key.WriteString(value.toBool() ? "True" : "False");
        return true;
    case StoredKind::Unsupported:
        break;
    }
    return false;
}

void LoadPropertyValue(QObject& object, const QMetaProperty& property, const TrsKeyWrapper& key) {
    if (!property.isWritable())
        return;
    if (property.isEnumType()) {
        const QMetaEnum meta = property.enumerator();
        std::optional<int> value;
        if (property.isFlagType())
            value = SetValue(meta, key);
        else if (key.Type() == TrsValueType::Integer)
            value = key.AsInteger();
        else
            value = EnumValue(meta, FromUtf8(key.AsString()));
        if (value)
            property.write(&object, *value);
        return;
    }
    QVariant value;
    switch (KindOf(property.metaType())) {
    case StoredKind::Integer:
        value = key.AsInteger();
        break;
    case StoredKind::Float:
        value = key.AsFloat();
        break;
    case StoredKind::String:
        value = FromUtf8(key.AsString());
        break;
    case StoredKind::Int64:
        value = static_cast<qlonglong>(key.AsInt64());
        break;
    case StoredKind::StringList:
        value = StringListLines(FromUtf8(key.AsString()));
        break;
    case StoredKind::Boolean: {
        const std::string text = key.AsString();
        if (SameName(text, "True"))
            value = true;
        else if (SameName(text, "False"))
            value = false;
        break;
    }
    case StoredKind::Unsupported:
        break;
    }
    if (value.isValid() && value.convert(property.metaType()))
        property.write(&object, value);
}

} // namespace mirelon
