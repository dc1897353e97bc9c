#pragma once

#include <QString>

// Names read from files (a bundle's CFBundleName, a menu entry's Name=) are shown, sorted and
// searched: one of a million characters would cost the window and its memory for nothing.
namespace BoundedName {

constexpr qsizetype kMaxLength = 256;

// `name` when it has at most kMaxLength UTF-16 units; else its start with an ellipsis, that many
// units in all, never cutting a character in two.
QString bounded(const QString &name);

} // namespace BoundedName
