#include "platform/desktop/DesktopEntries.h"

#include "platform/desktop/DebianPackages.h"
#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/DesktopExec.h"
#include "platform/desktop/DesktopOverride.h"
#include "platform/files/FileOps.h"
#include "platform/icon/IconTheme.h"
#include "platform/locale/LocaleName.h"
#include "platform/process/LaunchEnvironment.h"
#include "platform/text/BoundedName.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSet>

namespace {

const QString kApplications = QStringLiteral("/applications");

QString cleanFolder(const QString &path)
{
    return QDir::cleanPath(path);
}

bool shownIn(const DesktopEntry &entry, const QStringList &desktops)
{
    const QStringList only = entry.list(QStringLiteral("OnlyShowIn"));
    const QStringList not_ = entry.list(QStringLiteral("NotShowIn"));
    for (const QString &desktop : desktops) {
        if (not_.contains(desktop))
            return false;
    }
    if (only.isEmpty())
        return true;
    for (const QString &desktop : desktops) {
        if (only.contains(desktop))
            return true;
    }
    return false;
}

// A theme icon's name carries no extension; some entries give one all the same.
QString iconOf(const DesktopEntry &entry)
{
    QString icon = entry.value(QStringLiteral("Icon"));
    if (icon.startsWith(QLatin1Char('/')))
        return icon;
    for (const char *suffix : {".png", ".svg", ".xpm"}) {
        if (icon.endsWith(QLatin1String(suffix)))
            icon.chop(4);
    }
    return icon;
}

} // namespace

struct DesktopEntries::Lookups {
    explicit Lookups(const DesktopEntries &entries)
        : icons(entries.dataFolders()), path(entries.m_setup.path)
    {
    }
    // Many entries run the same few programs (env, flatpak, sh): each is looked for on PATH once.
    QString program(const QString &word)
    {
        auto found = programs.constFind(word);
        if (found == programs.cend())
            found = programs.insert(word, DesktopExec::findProgram(word, path));
        return *found;
    }

    IconTheme icons;
    QString path;
    QHash<QString, QString> programs;
};

DesktopEntries::DesktopEntries(Setup setup) : m_setup(std::move(setup))
{
    for (const QString &locale : std::as_const(m_setup.locales)) {
        for (const QString &key : DesktopEntry::localeKeys(locale)) {
            if (!m_localeKeys.contains(key))
                m_localeKeys.append(key);
        }
    }
}

DesktopEntries::Setup DesktopEntries::standardSetup()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString dataHome = env.value(QStringLiteral("XDG_DATA_HOME"));
    if (!dataHome.startsWith(QLatin1Char('/')))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    QStringList dataDirs;
    for (const QString &dir :
         env.value(QStringLiteral("XDG_DATA_DIRS")).split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        // A relative folder would depend on where Vexilo was started.
        if (dir.startsWith(QLatin1Char('/')))
            dataDirs.append(cleanFolder(dir));
    }
    if (dataDirs.isEmpty())
        dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    // Flatpak's and Snap's exported entries, where the session did not put them in the list.
    for (const QString &exports : {dataHome + QStringLiteral("/flatpak/exports/share"),
                                   QStringLiteral("/var/lib/flatpak/exports/share"),
                                   QStringLiteral("/var/lib/snapd/desktop")}) {
        if (!dataDirs.contains(cleanFolder(exports)) && QFileInfo(exports).isDir())
            dataDirs.append(cleanFolder(exports));
    }

    Setup setup;
    setup.folders.append(cleanFolder(dataHome) + kApplications);
    for (const QString &dir : std::as_const(dataDirs)) {
        if (!setup.folders.contains(dir + kApplications))
            setup.folders.append(dir + kApplications);
    }
    setup.currentDesktops = env.value(QStringLiteral("XDG_CURRENT_DESKTOP"))
                                .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    setup.path = env.value(QStringLiteral("PATH"));
    const QString messages = LaunchEnvironment::messagesLocale(env);
    // gettext's rule: LANGUAGE counts unless the messages locale is C.
    if (!LocaleName::isPlainC(messages))
        setup.locales =
            env.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    setup.locales.append(messages);
    setup.localeFolders = {QStringLiteral("/usr/share/locale"),
                           QStringLiteral("/usr/local/share/locale"),
                           QStringLiteral("/usr/share/locale-langpack")};
    setup.flatpakInstallations = {cleanFolder(dataHome) + QStringLiteral("/flatpak"),
                                  QStringLiteral("/var/lib/flatpak")};
    setup.packageDatabase = DebianPackages::kDatabase;
    setup.userServices = cleanFolder(dataHome) + QStringLiteral("/dbus-1/services");
    return setup;
}

QStringList DesktopEntries::dataFolders() const
{
    QStringList folders;
    for (const QString &folder : m_setup.folders) {
        if (folder.endsWith(kApplications))
            folders.append(folder.chopped(kApplications.size()));
    }
    return folders;
}

QString DesktopEntries::userFolder() const
{
    return m_setup.folders.value(0);
}

QStringList DesktopEntries::candidatePaths(const QString &folder, const QString &id)
{
    QList<qsizetype> dashes;
    for (qsizetype i = 0; i < id.size(); ++i) {
        if (id.at(i) == QLatin1Char('-'))
            dashes.append(i);
    }
    // Each dash may have been a folder's end. Past a few, only the plain name is looked for.
    if (dashes.size() > 8)
        dashes.clear();
    QStringList paths;
    for (quint32 mask = 0; mask < (1u << dashes.size()); ++mask) {
        QString name = id;
        for (qsizetype bit = 0; bit < dashes.size(); ++bit) {
            if (mask & (1u << bit))
                name[dashes.at(bit)] = QLatin1Char('/');
        }
        paths.append(folder + QLatin1Char('/') + name);
    }
    return paths;
}

bool DesktopEntries::isSafeId(const QString &id)
{
    if (id.size() <= 8 || id.size() > 255 || !id.endsWith(QLatin1String(".desktop")) ||
        id.startsWith(QLatin1Char('.')))
        return false;
    for (QChar c : id) {
        if (c == QLatin1Char('/') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

std::optional<DesktopApplication> DesktopEntries::readEntry(const QString &id, const QString &path,
                                                            QString *overrideLanguage,
                                                            Lookups &lookups) const
{
    const std::optional<DesktopEntry> entry = DesktopEntry::read(path);
    if (!entry)
        return std::nullopt;
    if (overrideLanguage && entry->hasKey(DesktopOverride::kLanguageKey)) {
        // Only an unchanged file of Vexilo's counts as its override.
        if (const auto bytes = FileOps::readAll(path))
            *overrideLanguage = DesktopOverride::vexiloLanguage(*bytes).value_or(QString());
    }
    if (entry->value(QStringLiteral("Type")) != QLatin1String("Application") ||
        entry->boolean(QStringLiteral("Hidden")) || entry->boolean(QStringLiteral("NoDisplay")) ||
        !shownIn(*entry, m_setup.currentDesktops))
        return std::nullopt;
    const QString tryExec = entry->value(QStringLiteral("TryExec"));
    if (!tryExec.isEmpty() && lookups.program(tryExec).isEmpty())
        return std::nullopt;

    DesktopApplication app;
    app.id = id;
    app.path = path;
    app.name = BoundedName::bounded(entry->localeString(QStringLiteral("Name"), m_localeKeys));
    app.icon = iconOf(*entry);
    if (app.name.isEmpty())
        return std::nullopt;
    const std::optional<QStringList> arguments =
        DesktopExec::arguments(entry->value(QStringLiteral("Exec")), {app.name, app.icon, path});
    if (!arguments)
        return std::nullopt;
    const qsizetype program = DesktopExec::programIndex(*arguments);
    app.program = lookups.program(arguments->at(program));
    if (app.program.isEmpty())
        return std::nullopt;
    app.iconFile = lookups.icons.iconFile(app.icon);
    app.arguments = *arguments;
    app.gettextDomain = entry->value(QStringLiteral("X-GNOME-Gettext-Domain"));
    if (app.gettextDomain.isEmpty())
        app.gettextDomain = entry->value(QStringLiteral("X-Ubuntu-Gettext-Domain"));
    app.flatpakId = entry->value(QStringLiteral("X-Flatpak"));
    if (app.flatpakId.isEmpty())
        app.flatpakId = DesktopExec::flatpakApplication(app.arguments);
    app.terminal = entry->boolean(QStringLiteral("Terminal"));
    app.dbusActivatable = entry->boolean(QStringLiteral("DBusActivatable"));
    return app;
}

std::optional<DesktopApplication> DesktopEntries::fromFile(const QString &id, const QString &path,
                                                           int folderIndex, Lookups &lookups) const
{
    QString overrideLanguage;
    std::optional<DesktopApplication> app =
        readEntry(id, path, folderIndex == 0 ? &overrideLanguage : nullptr, lookups);
    if (overrideLanguage.isEmpty())
        return app;
    // Vexilo's override stands in front of the entry it copied: that one is the application,
    // and the override tells its language. One whose original has gone is left out.
    for (int next = folderIndex + 1; next < m_setup.folders.size(); ++next) {
        for (const QString &candidate : candidatePaths(m_setup.folders.at(next), id)) {
            if (!QFileInfo::exists(candidate))
                continue;
            std::optional<DesktopApplication> original = readEntry(id, candidate, nullptr, lookups);
            if (original)
                original->overrideLanguage = overrideLanguage;
            return original;
        }
    }
    return std::nullopt;
}

QList<DesktopApplication> DesktopEntries::applications() const
{
    QList<DesktopApplication> apps;
    QSet<QString> seen;
    Lookups lookups(*this);
    for (int index = 0; index < m_setup.folders.size(); ++index) {
        const QString folder = m_setup.folders.at(index);
        // Subfolders count (their names join the ID); linked folders are not followed, so a
        // loop of links cannot hold the scan.
        // (No name filter: Qt compiles one into a regular expression per folder.)
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(QLatin1String(".desktop")))
                continue;
            QString id = path.mid(folder.size() + 1);
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            // The first folder that has an ID decides for it, even when it hides the entry.
            if (seen.contains(id))
                continue;
            seen.insert(id);
            if (std::optional<DesktopApplication> app = fromFile(id, path, index, lookups))
                apps.append(std::move(*app));
        }
    }
    return apps;
}

std::optional<DesktopApplication> DesktopEntries::application(const QString &id) const
{
    for (int index = 0; index < m_setup.folders.size(); ++index) {
        for (const QString &candidate : candidatePaths(m_setup.folders.at(index), id)) {
            if (QFileInfo(candidate).isFile()) {
                Lookups lookups(*this);
                return fromFile(id, candidate, index, lookups);
            }
        }
    }
    return std::nullopt;
}
