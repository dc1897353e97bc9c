#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Type-to-search in the icon row: a name matches when it begins with the text, regardless of
// case and of diacritical marks ("e" finds "Émile").
namespace RowSearch {

// The form both sides are compared in: diacritical marks removed, then case-folded. Computed
// once per name when a list is handed over, so each keystroke only compares.
QString searchKey(const QString &text);

// The positions of the keys that begin with the key of `text`, in order.
QList<int> matching(const QStringList &keys, const QString &text);

} // namespace RowSearch
