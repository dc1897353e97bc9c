#pragma once

#include "platform/prefs/PlistValue.h"

#include <QByteArray>
#include <QVariant>
#include <optional>

// Property lists in XML or binary form, as Info.plist files and preference files hold them.
// Values map onto QVariant: dict -> QVariantMap, array -> QVariantList, string -> QString,
// integer -> qlonglong (qulonglong above its range), real -> double, boolean -> bool,
// date -> QDateTime (UTC, to the millisecond), data -> QByteArray.
namespace PropertyList {

// nullopt when the bytes are not a property list in either form, or not one that can be read
// whole (see Plist::parse).
std::optional<QVariant> parse(const QByteArray &bytes);

// The XML form of a value built from the types above; empty when it holds anything else (or
// text, a date or nesting a property list cannot carry).
QByteArray toXml(const QVariant &value);

QVariant toVariant(const PlistValue &value);
// nullopt for a value that holds anything a property list cannot: other types, invalid dates,
// lone surrogates.
std::optional<PlistValue> fromVariant(const QVariant &value);

} // namespace PropertyList
