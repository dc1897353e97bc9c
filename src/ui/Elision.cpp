#include "Elision.h"

#include <QFontMetrics>
#include <QTextBoundaryFinder>

namespace Elision {

QString name(const QString &text, const QFontMetrics &metrics, int width)
{
    return metrics.elidedText(text, Qt::ElideMiddle, width);
}

QString unbreakableRuns(const QString &text, const QFontMetrics &metrics, int width)
{
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    QString result;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = breaks.toNextBoundary();
        if (end < 0)
            end = text.size();
        const QString run = text.mid(start, end - start);
        result += metrics.horizontalAdvance(run) > width ? name(run, metrics, width) : run;
        start = end;
    }
    return result;
}

} // namespace Elision
