#pragma once

#include <QString>

class QFontMetrics;

// Names come from files and can be long: where they are shown they are elided to a width, so
// no window grows past its screen for them.
namespace Elision {

// A name, or a title holding one, in a label, a button or a tool tip: its middle gives way.
QString name(const QString &text, const QFontMetrics &metrics, int width);

// Text that wraps: every run that cannot be broken across lines and is wider than `width` (a
// long name without blanks) loses its middle; the rest is left as it is.
QString unbreakableRuns(const QString &text, const QFontMetrics &metrics, int width);

} // namespace Elision
