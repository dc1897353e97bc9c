#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

// A .strings table: the text form ("key" = "value"; with comments and escapes; UTF-16 with a
// byte-order mark, or UTF-8 with or without one; keys and values may be unquoted words) or a
// binary property list holding a dictionary of strings.
namespace StringsTable {

// nullopt when the bytes are neither form or the text is malformed.
std::optional<QHash<QString, QString>> parse(const QByteArray &bytes);

} // namespace StringsTable
