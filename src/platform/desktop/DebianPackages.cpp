#include "platform/desktop/DebianPackages.h"

#include "platform/files/DirectoryListing.h"
#include "platform/files/FileOps.h"

#include <QByteArrayView>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <memory>

namespace DebianPackages {

namespace {

struct Index {
    // Desktop entries and programs -> the list (package, or package:arch) that installed them.
    // Only those are kept: the lists name a hundred thousand files and more.
    QHash<QString, QString> owners;
    // Source package -> its installed packages' lists.
    QHash<QString, QStringList> listsOfSource;
    // List -> source package.
    QHash<QString, QString> sourceOf;
    // Lists already read whole, for files().
    QHash<QString, QStringList> files;
};

bool worthKeeping(QByteArrayView line)
{
    return line.endsWith(".desktop") || line.contains("/bin/") || line.contains("/games/");
}

template <typename Function> void forEachLine(const QByteArray &bytes, Function function)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        function(QByteArrayView(bytes).sliced(start, end - start));
        start = end + 1;
    }
}

// Package -> source, from the status file's stanzas ("Source: name (version)").
QHash<QString, QString> sources(const QString &database)
{
    QHash<QString, QString> result;
    const std::optional<QByteArray> status = FileOps::readAll(database + QStringLiteral("/status"));
    if (!status)
        return result;
    QString package;
    forEachLine(*status, [&](QByteArrayView line) {
        if (line.startsWith("Package:")) {
            package = QString::fromUtf8(line.sliced(8).trimmed());
        } else if (line.startsWith("Source:") && !package.isEmpty()) {
            const QByteArrayView value = line.sliced(7).trimmed();
            const qsizetype blank = value.indexOf(' ');
            result.insert(package, QString::fromUtf8(blank < 0 ? value : value.first(blank)));
        }
    });
    return result;
}

std::shared_ptr<Index> build(const QString &database)
{
    auto index = std::make_shared<Index>();
    const QHash<QString, QString> sourceOfPackage = sources(database);
    const QString info = database + QStringLiteral("/info/");
    for (const QString &name : DirectoryListing::entries(info)) {
        if (!name.endsWith(QLatin1String(".list")))
            continue;
        const QString list = name.chopped(5);
        const std::optional<QByteArray> bytes = FileOps::readAll(info + name);
        if (!bytes)
            continue;
        forEachLine(*bytes, [&](QByteArrayView line) {
            if (worthKeeping(line))
                index->owners.insert(QString::fromUtf8(line), list);
        });
        const QString package = list.section(QLatin1Char(':'), 0, 0);
        const QString source = sourceOfPackage.value(package, package);
        index->listsOfSource[source].append(list);
        index->sourceOf.insert(list, source);
    }
    return index;
}

QMutex mutex;

// The index of a database, built at its first use.
std::shared_ptr<Index> indexOf(const QString &database)
{
    static QHash<QString, std::shared_ptr<Index>> indexes;
    auto it = indexes.find(database);
    if (it == indexes.end())
        it = indexes.insert(database, build(database));
    return *it;
}

} // namespace

QString owner(const QString &path, const QString &database)
{
    if (database.isEmpty() || path.isEmpty())
        return {};
    QMutexLocker lock(&mutex);
    return indexOf(database)->owners.value(path);
}

QStringList files(const QString &package, const QString &database)
{
    if (database.isEmpty() || package.isEmpty())
        return {};
    QMutexLocker lock(&mutex);
    const std::shared_ptr<Index> index = indexOf(database);
    const auto source = index->sourceOf.constFind(package);
    if (source == index->sourceOf.cend())
        return {};
    QStringList lists = index->listsOfSource.value(*source);
    lists.removeAll(package);
    lists.prepend(package);
    QStringList result;
    for (const QString &list : std::as_const(lists)) {
        auto cached = index->files.constFind(list);
        if (cached == index->files.cend()) {
            QStringList names;
            if (const auto bytes = FileOps::readAll(database + QStringLiteral("/info/") + list +
                                                    QStringLiteral(".list")))
                forEachLine(*bytes, [&](QByteArrayView line) {
                    if (!line.isEmpty())
                        names.append(QString::fromUtf8(line));
                });
            cached = index->files.insert(list, names);
        }
        result += *cached;
    }
    return result;
}

} // namespace DebianPackages
