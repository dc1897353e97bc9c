#include "platform/desktop/DesktopEntry.h"

#include "platform/files/DirectoryListing.h"
#include "platform/locale/LocaleName.h"

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray &text, const QString &firstGroup)
{
    DesktopEntry entry;
    entry.m_text = text;
    Group *current = nullptr;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        QByteArrayView line(text.constData() + start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            if (!line.endsWith(']'))
                continue;
            const QString name = QString::fromUtf8(line.sliced(1, line.size() - 2));
            // The first group names the file's kind; another first group is another format.
            if (entry.m_groups.isEmpty() && !firstGroup.isEmpty() && name != firstGroup)
                return std::nullopt;
            entry.m_groups.append({name, {}});
            current = &entry.m_groups.last();
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!current || equals <= 0)
            continue;
        const QByteArrayView key = line.first(equals).trimmed();
        const QByteArrayView value = line.sliced(equals + 1).trimmed();
        current->entries.append({key.data() - text.constData(), key.size(),
                                 value.data() - text.constData(), value.size()});
    }
    if (entry.m_groups.isEmpty())
        return std::nullopt;
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString &path)
{
    // Never blocks: a FIFO planted as an entry must not hold the whole scan up.
    const std::optional<QByteArray> bytes = DirectoryListing::readRegularFile(path, kMaxFileSize);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

const DesktopEntry::Group *DesktopEntry::group(const QString &name) const
{
    for (const Group &g : m_groups) {
        if (g.name == name)
            return &g;
    }
    return nullptr;
}

const DesktopEntry::Line *DesktopEntry::find(const QString &key, const QString &groupName) const
{
    const Group *g = group(groupName);
    if (!g)
        return nullptr;
    const QByteArray wanted = key.toUtf8();
    // The last of repeated keys wins.
    for (auto it = g->entries.crbegin(); it != g->entries.crend(); ++it) {
        if (bytes(it->keyAt, it->keyLength) == wanted)
            return &*it;
    }
    return nullptr;
}

bool DesktopEntry::hasKey(const QString &key, const QString &groupName) const
{
    return find(key, groupName) != nullptr;
}

QString DesktopEntry::rawValue(const QString &key, const QString &groupName) const
{
    const Line *line = find(key, groupName);
    return line ? QString::fromUtf8(bytes(line->valueAt, line->valueLength)) : QString();
}

QString DesktopEntry::value(const QString &key, const QString &groupName) const
{
    return unescape(rawValue(key, groupName));
}

bool DesktopEntry::boolean(const QString &key, const QString &groupName) const
{
    const QString v = rawValue(key, groupName);
    return v == QLatin1String("true") || v == QLatin1String("1");
}

QStringList DesktopEntry::list(const QString &key, const QString &groupName) const
{
    return splitList(rawValue(key, groupName));
}

QString DesktopEntry::localeString(const QString &key, const QStringList &keys,
                                   const QString &groupName) const
{
    for (const QString &locale : keys) {
        const QString localised = key + QLatin1Char('[') + locale + QLatin1Char(']');
        if (hasKey(localised, groupName)) {
            const QString v = value(localised, groupName);
            if (!v.isEmpty())
                return v;
        }
    }
    return value(key, groupName);
}

QStringList DesktopEntry::localeKeys(const QString &locale)
{
    if (LocaleName::namesNoLanguage(locale))
        return {};
    // lang_COUNTRY.ENCODING@MODIFIER: the encoding takes no part in matching.
    QString rest = locale;
    QString modifier;
    if (const qsizetype at = rest.indexOf(QLatin1Char('@')); at >= 0) {
        modifier = rest.mid(at + 1);
        rest.truncate(at);
    }
    if (const qsizetype dot = rest.indexOf(QLatin1Char('.')); dot >= 0)
        rest.truncate(dot);
    QString lang = rest;
    QString country;
    if (const qsizetype under = rest.indexOf(QLatin1Char('_')); under >= 0) {
        lang = rest.left(under);
        country = rest.mid(under + 1);
    }
    if (lang.isEmpty())
        return {};
    QStringList keys;
    if (!country.isEmpty() && !modifier.isEmpty())
        keys.append(lang + QLatin1Char('_') + country + QLatin1Char('@') + modifier);
    if (!country.isEmpty())
        keys.append(lang + QLatin1Char('_') + country);
    if (!modifier.isEmpty())
        keys.append(lang + QLatin1Char('@') + modifier);
    keys.append(lang);
    return keys;
}

QString DesktopEntry::unescape(const QString &raw)
{
    if (!raw.contains(QLatin1Char('\\')))
        return raw;
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != QLatin1Char('\\') || i + 1 == raw.size()) {
            out.append(c);
            continue;
        }
        const QChar next = raw.at(++i);
        switch (next.unicode()) {
        case 's':
            out.append(QLatin1Char(' '));
            break;
        case 'n':
            out.append(QLatin1Char('\n'));
            break;
        case 't':
            out.append(QLatin1Char('\t'));
            break;
        case 'r':
            out.append(QLatin1Char('\r'));
            break;
        case '\\':
            out.append(QLatin1Char('\\'));
            break;
        default:
            // Not a string escape: kept for the reader of the value (a list's "\;", an Exec
            // line's quoting).
            out.append(c);
            out.append(next);
        }
    }
    return out;
}

QStringList DesktopEntry::splitList(const QString &raw)
{
    QStringList items;
    QString item;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
            // "\;" is an item's semicolon; any other escape is the string's, resolved below.
            if (raw.at(i + 1) == QLatin1Char(';')) {
                item.append(QLatin1Char(';'));
            } else {
                item.append(c);
                item.append(raw.at(i + 1));
            }
            ++i;
        } else if (c == QLatin1Char(';')) {
            items.append(unescape(item));
            item.clear();
        } else {
            item.append(c);
        }
    }
    // The last item may lack its ';'.
    if (!item.isEmpty())
        items.append(unescape(item));
    return items;
}
