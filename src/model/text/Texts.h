#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Vexilo's own texts, Vexilo::tr("..."): the English text is the key, in one context.
struct Vexilo {
    Q_DECLARE_TR_FUNCTIONS(Vexilo)
};

// Fills the placeholders %d and %@ of a text, in order, with the given values; "%%" is a
// percent sign; other text and surplus placeholders stay as they are.
QString formatText(const QString &format, const QStringList &values);
