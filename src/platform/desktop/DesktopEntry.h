#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// A freedesktop Desktop Entry file (.desktop): groups of keys, values as written. Reads the
// format only; what an entry means to the application menu is DesktopEntries'.
class DesktopEntry {
public:
    static inline const QString kMainGroup = QStringLiteral("Desktop Entry");
    // Larger files are no desktop entries; they are refused unread.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    // nullopt when the text is not a desktop entry: its first group must be `firstGroup`
    // ([Desktop Entry]; empty for any key file). Lines that are neither comments, group headers
    // nor keys are passed over, as launchers do.
    static std::optional<DesktopEntry> parse(const QByteArray &text,
                                             const QString &firstGroup = kMainGroup);
    // A regular file of at most kMaxFileSize bytes, read without blocking.
    static std::optional<DesktopEntry> read(const QString &path);

    bool hasKey(const QString &key, const QString &group = kMainGroup) const;
    // The value as written (escapes kept); the last of repeated keys wins.
    QString rawValue(const QString &key, const QString &group = kMainGroup) const;
    // A string value with its escapes (\s \n \t \r \\) resolved.
    QString value(const QString &key, const QString &group = kMainGroup) const;
    // "true" (or the old "1") is true; anything else false.
    bool boolean(const QString &key, const QString &group = kMainGroup) const;
    // A list value: items ended by ';' ("\;" is a semicolon inside an item), escapes resolved.
    QStringList list(const QString &key, const QString &group = kMainGroup) const;
    // A localised value for the user's locales (as localeKeys() lists them), else the plain one.
    QString localeString(const QString &key, const QStringList &localeKeys,
                         const QString &group = kMainGroup) const;

    // The keys of `locale` ("sr_RS.UTF-8@latin") in the order that matches them:
    // sr_RS@latin, sr_RS, sr@latin, sr. Empty for C and POSIX.
    static QStringList localeKeys(const QString &locale);
    // Resolves the string escapes of a value.
    static QString unescape(const QString &raw);
    // Splits a list value into its items.
    static QStringList splitList(const QString &raw);

private:
    // A key and its value as places in the text: a menu reads a few keys of files that hold
    // hundreds of translations, which are converted only when asked for.
    struct Line {
        qsizetype keyAt, keyLength, valueAt, valueLength;
    };
    struct Group {
        QString name;
        QList<Line> entries;
    };
    const Group *group(const QString &name) const;
    QByteArrayView bytes(qsizetype at, qsizetype length) const
    {
        return QByteArrayView(m_text.constData() + at, length);
    }
    const Line *find(const QString &key, const QString &groupName) const;

    QByteArray m_text;
    QList<Group> m_groups;
};
