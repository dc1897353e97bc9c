#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Every text the user sees is looked up in Vexilo's string table, keyed by its English text.
inline QString uiText(const char *english)
{
    return QCoreApplication::translate("Vexilo", english);
}

// Fills the placeholders %d and %@ of a text, in order, with the given values; other text and
// surplus placeholders stay as they are.
QString formatText(const QString &format, const QStringList &values);
