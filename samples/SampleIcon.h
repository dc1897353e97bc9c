#pragma once

#include <QImage>
#include <QString>

// The demo bundles' application icons: a rounded square of one colour with a large white letter.
namespace SampleIcon {

constexpr int kSize = 256;

// A `size`-square image, drawn at 256 and scaled by the painter so small sizes stay crisp.
// A null image when `color` is not a colour name Qt knows, `letter` is empty or the size is not
// between 16 and 1024.
QImage render(const QString &color, const QString &letter, int size = kSize);

} // namespace SampleIcon
