#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

// Application icon files (.icns, or any image format Qt reads).
namespace IconImage {

// Icon files larger than this are refused unread.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// The bytes of an icon file: a regular file of at most kMaxFileSize bytes, read without ever
// blocking (a pipe or a device planted as an icon is refused). Nullopt for anything else.
std::optional<QByteArray> readFile(const QString &path);

// The one image of the file's contents that serves a drawing `minimumSide` pixels square: the
// smallest entry at least that large, else the largest. Only that entry is decoded where the
// format names its entries' sizes (.icns); an entry that cannot be decoded (a JPEG 2000 payload)
// is passed over for the next best. Null when nothing can be decoded.
QImage decodeToFit(const QByteArray &contents, int minimumSide);

// The largest image of an icon file, read as readFile does.
QImage decodeLargest(const QString &path);

} // namespace IconImage
