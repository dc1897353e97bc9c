#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Application icon files (.icns, or any image format Qt reads).
namespace IconImage {

// Icon files larger than this are refused unread.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// The one image of an icon file that serves a drawing `minimumSide` pixels square: the smallest
// entry at least that large, else the largest (see decodeToFit). Only a regular file of at most
// kMaxFileSize bytes is read, without ever blocking (a pipe or a device planted as an icon is
// refused). Of an .icns file whose chosen entry is a PNG, only its table of entries and that
// entry are read. Null when nothing can be read or decoded.
QImage loadToFit(const QString &path, int minimumSide);

// The same choice among the entries of a whole file's contents. Only the chosen entry is
// decoded where the format names its entries' sizes (.icns); an entry that cannot be decoded
// (a JPEG 2000 payload) is passed over for the next best.
QImage decodeToFit(const QByteArray &contents, int minimumSide);

// The largest image of an icon file, read as loadToFit does.
QImage decodeLargest(const QString &path);

} // namespace IconImage
