#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>

// What many tests read back, write and spell out in their tables.

// The file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file whole, its folder being there; its path, or empty when it could not.
inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

// Tables write lists space-separated: "en fr de".
inline QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

// "A=1 B=2": an environment holding just those.
inline QProcessEnvironment environmentOf(const QString &assignments)
{
    QProcessEnvironment environment;
    for (const QString &pair : words(assignments))
        environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return environment;
}

// A row of a data table, its columns in order; a text literal stands for a QString.
inline QString tableCell(const char *text)
{
    return QString::fromUtf8(text);
}
template <typename T> const T &tableCell(const T &value)
{
    return value;
}
template <typename... Columns> void row(const char *tag, const Columns &...columns)
{
    (QTest::newRow(tag) << ... << tableCell(columns));
}
