#pragma once

#include <QByteArray>
#include <QList>

// Property lists that crashed or fooled the readers once, each with its XML or binary twin,
// made in code (the deep ones are megabytes). Every one must read as "not a property list".
namespace HostilePlists {

struct Case {
    const char *name;
    QByteArray bytes;
};

QList<Case> all();

// A binary property list of these objects, object 0 at the top. References in the objects
// are 4 bytes wide (see ref()).
QByteArray binary(const QList<QByteArray> &objects);
QByteArray ref(quint32 index);

// <plist> holding `depth` nested arrays, and the same as `depth` binary arrays.
QByteArray deepXml(int depth);
QByteArray deepBinary(int depth);

} // namespace HostilePlists
