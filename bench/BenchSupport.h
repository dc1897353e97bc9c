#pragma once

// What the benchmarks share: clocks, the resident size, medians, generated catalogues, and the
// one line per figure that bench_goals collects.

#include "platform/preferences/PropertyList.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace Bench {

inline qint64 cpuNanoseconds()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// A line of /proc/self/status in KiB, such as "VmRSS" (all resident pages), "RssAnon" (the
// process's own memory) or "RssFile" (pages of mapped files: libraries, locale data).
inline qint64 statusKiB(const QByteArray &field = "VmRSS")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

inline qint64 residentKiB()
{
    return statusKiB("VmRSS");
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename T> T minimum(const std::vector<T> &values)
{
    return *std::min_element(values.begin(), values.end());
}

// One figure, as bench_goals reads it: its name, the value, what it is measured against, the
// goal, and whether the goal holds. Tab-separated on one line beginning with "goal".
inline void goal(const char *figure, const QString &value, const QString &floor,
                 const QString &target, bool holds)
{
    std::printf("goal\t%s\t%s\t%s\t%s\t%s\n", figure, qPrintable(value), qPrintable(floor),
                qPrintable(target), holds ? "yes" : "no");
    std::fflush(stdout);
}

// A home of the benchmark's own below `folder`: preferences and data there, and no application
// menu of the machine's, so that only what is measured is loaded.
inline void isolateHome(const QString &folder)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder + QStringLiteral("/data")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(folder + QStringLiteral("/no-menu")));
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// `count` bundles as real ones are: an identifier, an executable name, an icon, a version, and
// one to eight localisation folders each with its InfoPlist.strings.
inline void generateCatalogue(const QString &folder, int count)
{
    const QStringList langs{"en", "fr", "de", "es", "it", "ja", "zh_TW", "pt_BR"};
    const QByteArray icon(4096, 'i');
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("App%1").arg(i, 5, 10, QLatin1Char('0'));
        const QString contents = folder + QLatin1Char('/') + name + QStringLiteral(".app/Contents");
        QDir().mkpath(contents + QStringLiteral("/Resources"));
        QDir().mkpath(contents + QStringLiteral("/MacOS"));
        writeFile(contents + QStringLiteral("/Info.plist"),
                  PropertyList::toXml(QVariantMap{
                      {"CFBundleIdentifier", QStringLiteral("org.bench.") + name},
                      {"CFBundleName", name},
                      {"CFBundleExecutable", name},
                      {"CFBundleIconFile", QStringLiteral("AppIcon")},
                      {"CFBundleVersion", QStringLiteral("1.%1").arg(i)},
                      {"CFBundleShortVersionString", QStringLiteral("1.0")},
                      {"CFBundlePackageType", QStringLiteral("APPL")},
                  }));
        writeFile(contents + QStringLiteral("/Resources/AppIcon.icns"), icon);
        for (int l = 0; l < 1 + i % langs.size(); ++l) {
            const QString lproj =
                contents + QStringLiteral("/Resources/") + langs[l] + QStringLiteral(".lproj");
            QDir().mkpath(lproj);
            writeFile(lproj + QStringLiteral("/InfoPlist.strings"),
                      "\"CFBundleName\" = \"" + name.toUtf8() + "\";\n");
        }
    }
}

// Copies the bundle `from` to `bundle` with this program as its executable, so that the copy
// finds Vexilo's resources, translations and defaults tool as it does when installed.
inline bool copyBundleRunningThis(const QString &from, const QString &bundle)
{
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    QDir().mkpath(bundle);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = bundle + path.mid(from.size());
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else if (!QFile::copy(path, target)) {
            return false;
        }
    }
    const QString executable = bundle + QStringLiteral("/Contents/MacOS/Vexilo");
    return QFile::remove(executable) &&
           QFile::copy(QCoreApplication::applicationFilePath(), executable);
}

} // namespace Bench
