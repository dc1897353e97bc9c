#include "RowSearch.h"

namespace RowSearch {

QString searchKey(const QString &text)
{
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    // Most names are plain ASCII: no decomposition needed.
    if (ascii)
        return text.toLower();

    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString stripped;
    stripped.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            stripped.append(c);
    }
    return stripped.toCaseFolded();
}

QList<int> matching(const QStringList &keys, const QString &text)
{
    const QString key = searchKey(text);
    QList<int> positions;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys.at(i).startsWith(key))
            positions.append(int(i));
    }
    return positions;
}

} // namespace RowSearch
