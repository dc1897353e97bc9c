#pragma once

#include <QByteArray>
#include <QVariant>
#include <optional>

// Property lists in XML or binary form, as Info.plist files and preference files hold them.
// Values map onto QVariant: dict -> QVariantMap, array -> QVariantList, string -> QString,
// integer -> qlonglong, real -> double, boolean -> bool, date -> QDateTime (UTC),
// data -> QByteArray.
namespace PropertyList {

// nullopt when the bytes are not a property list in either form.
std::optional<QVariant> parse(const QByteArray &bytes);

// The XML form of a value built from the types above.
QByteArray toXml(const QVariant &value);

} // namespace PropertyList
