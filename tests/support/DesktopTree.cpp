#include "DesktopTree.h"

#include "TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

DesktopTree::DesktopTree(const QString &root) : m_root(root)
{
    for (const QString &folder : {userFolder(), systemFolder(), bin()})
        QDir().mkpath(folder);
}

QString DesktopTree::path() const
{
    return bin() + QLatin1Char(':') + qEnvironmentVariable("PATH");
}

DesktopEntries::Setup DesktopTree::setup() const
{
    DesktopEntries::Setup setup;
    setup.folders = {userFolder(), systemFolder()};
    setup.path = path();
    setup.locales = {QStringLiteral("en_US.UTF-8")};
    setup.localeFolders = {systemData() + QStringLiteral("/locale")};
    setup.flatpakInstallations = {m_root + QStringLiteral("/data/flatpak")};
    setup.packageDatabase = m_root + QStringLiteral("/dpkg");
    setup.userServices = m_root + QStringLiteral("/data/dbus-1/services");
    return setup;
}

QString DesktopTree::write(const QString &relative, const QByteArray &bytes, bool executable)
{
    const QString path = m_root + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    if (writeFile(path, bytes).isEmpty())
        return {};
    if (executable)
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
}

QString DesktopTree::entry(const QString &folder, const QString &id, const QByteArray &lines)
{
    return write(QDir(m_root).relativeFilePath(folder + QLatin1Char('/') + id),
                 "[Desktop Entry]\nType=Application\n" + lines);
}

QString DesktopTree::recorder(const QString &relative, const QString &name)
{
    const QByteArray log = QFile::encodeName(m_root + QLatin1Char('/') + name + ".log");
    const QByteArray overrides = QFile::encodeName(m_root + "/data/flatpak/overrides/");
    const QByteArray script =
        "#!/bin/sh\nlog='" + log +
        "'\n"
        "line=\"start $$\"\n"
        "for a in \"$@\"; do line=\"$line [$a]\"; done\n"
        "echo \"$line LANGUAGE=$LANGUAGE LC_ALL=$LC_ALL LC_MESSAGES=$LC_MESSAGES "
        "LC_CTYPE=$LC_CTYPE\" >> \"$log\"\n"
        "if [ \"$1\" = override ]; then\n"
        "  for a in \"$@\"; do app=$a; done\n"
        "  f='" +
        overrides +
        "'$app; mkdir -p \"$(dirname \"$f\")\"; touch \"$f\"\n"
        "  for a in \"$@\"; do case $a in\n"
        "    --env=*) kv=${a#--env=}; grep -v \"^${kv%%=*}=\" \"$f\" > \"$f.new\"; "
        "echo \"$kv\" >> \"$f.new\"; mv \"$f.new\" \"$f\";;\n"
        "    --unset-env=*) grep -v \"^${a#--unset-env=}=\" \"$f\" > \"$f.new\"; "
        "mv \"$f.new\" \"$f\";;\n"
        "  esac; done\n"
        "  grep -v '^\\[Environment\\]' \"$f\" > \"$f.new\"; "
        "{ echo '[Environment]'; cat \"$f.new\"; } > \"$f\"; rm -f \"$f.new\"\n"
        "  exit 0\n"
        "fi\n"
        "trap 'echo \"end $$\" >> \"$log\"; exit 0' TERM\n"
        "while :; do sleep 0.2 & wait $!; done\n";
    return write(relative, script, true);
}

QStringList DesktopTree::log(const QString &name) const
{
    return QString::fromUtf8(readFile(m_root + QLatin1Char('/') + name + QStringLiteral(".log")))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void DesktopTree::package(const QString &name, const QString &source, const QStringList &files)
{
    QByteArray list;
    for (const QString &file : files) {
        list += QFile::encodeName(file) + '\n';
        if (file.startsWith(m_root) && !QFileInfo::exists(file))
            write(file.mid(m_root.size() + 1), "");
    }
    write(QStringLiteral("dpkg/info/") + name + QStringLiteral(".list"), list);
    QFile status(m_root + QStringLiteral("/dpkg/status"));
    if (status.open(QIODevice::Append))
        status.write("Package: " + name.section(QLatin1Char(':'), 0, 0).toUtf8() +
                     "\nSource: " + source.toUtf8() + " (1.0-1)\nStatus: install ok installed\n\n");
}

QHash<QString, QByteArray> DesktopTree::snapshot(const QString &folder)
{
    QHash<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readFile(path));
    }
    return files;
}
