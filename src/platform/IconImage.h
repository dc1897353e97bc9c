#pragma once

#include <QImage>
#include <QString>

// Application icon files (.icns, or any image format Qt reads).
namespace IconImage {

// The largest image the file holds: an .icns file holds one image per size, and the largest is
// drawn best at every scale. Null when the file cannot be read.
QImage decodeLargest(const QString &path);

} // namespace IconImage
