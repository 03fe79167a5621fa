#pragma once

#include <QMetaProperty>
#include <QObject>

namespace mirelon {

class TrsKeyWrapper;

// Copies a property into the store's current key, replacing its former type: integers as
// integer, enumerations and Booleans as the value's identifier ("True"), sets as "[A,B]",
// floating point as float, strings as string, 64-bit integers as int64, string lists as their
// CR LF text. Returns false, writing nothing, for a property that cannot be read or whose type
// the settings file has no form for.
bool SavePropertyValue(const QObject& object, const QMetaProperty& property, TrsKeyWrapper& key);

// The reverse. An identifier that names no value of the property's type leaves the property as
// it is; a key that cannot be read as the type raises TrsException or EConvertError.
void LoadPropertyValue(QObject& object, const QMetaProperty& property, const TrsKeyWrapper& key);

} // namespace mirelon
