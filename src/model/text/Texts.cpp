#include "Texts.h"

QString formatText(const QString &format, const QStringList &values)
{
    QString out;
    out.reserve(format.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('%') && i + 1 < format.size()) {
            const QChar kind = format.at(i + 1);
            if ((kind == QLatin1Char('d') || kind == QLatin1Char('@')) && next < values.size()) {
                out += values.at(next++);
                ++i;
                continue;
            }
            if (kind == QLatin1Char('%')) {
                out += c;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}
