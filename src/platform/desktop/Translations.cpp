#include "platform/desktop/Translations.h"

#include "platform/desktop/DebianPackages.h"
#include "platform/files/DirectoryListing.h"
#include "platform/locale/LanguageNames.h"
#include "platform/process/LaunchEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <unistd.h>

namespace Translations {

namespace {

// The entries of a folder, kept for the run: /usr/share/locale alone has hundreds, and every
// selection of an application asks for them again.
QStringList cachedEntries(const QString &folder)
{
    static QMutex mutex;
    static QHash<QString, QStringList> cache;
    QMutexLocker lock(&mutex);
    const auto it = cache.constFind(folder);
    if (it != cache.cend())
        return *it;
    const QStringList entries = DirectoryListing::entries(folder);
    cache.insert(folder, entries);
    return entries;
}

bool exists(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), F_OK) == 0;
}

void addUnique(QStringList &list, const QString &value)
{
    if (!value.isEmpty() && !list.contains(value))
        list.append(value);
}

QString baseName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// <prefix>/bin/program -> <prefix>/share: a program installed under its own prefix keeps its
// data there.
QString shareOf(const QString &program)
{
    const QString bin = QFileInfo(program).path();
    if (!bin.endsWith(QLatin1String("/bin")))
        return {};
    return QFileInfo(bin).path() + QStringLiteral("/share");
}

// The names a program's data folders and catalogues go by.
QStringList programNames(const DesktopApplication &app, const QString &resolved)
{
    QStringList names;
    addUnique(names, baseName(app.program));
    addUnique(names, baseName(resolved));
    QString stem = app.id;
    stem.chop(QStringLiteral(".desktop").size());
    addUnique(names, stem.section(QLatin1Char('.'), -1).toLower());
    addUnique(names, stem);
    // A project's catalogues are named after it, not after its toolkit's build ("kid3-qt").
    static const QRegularExpression toolkit(QStringLiteral("-(qt[56]?|gtk[34]?|kde|gnome)$"));
    for (const QString &name : QStringList(names))
        addUnique(names, QString(name).remove(toolkit));
    return names;
}

// A snap's own tree, for programs run through /snap/bin.
QString snapRoot(const QString &program)
{
    static const QString bin = QStringLiteral("/snap/bin/");
    if (!program.startsWith(bin))
        return {};
    const QString name = program.mid(bin.size()).section(QLatin1Char('.'), 0, 0);
    return name.isEmpty() ? QString() : QStringLiteral("/snap/%1/current").arg(name);
}

void findGettext(const DesktopApplication &app, const QString &resolved,
                 const DesktopEntries::Setup &setup, QStringList &codes)
{
    QStringList folders = setup.localeFolders;
    for (const QString &folder : setup.folders) {
        if (folder.endsWith(QLatin1String("/applications")))
            addUnique(folders, folder.chopped(QStringLiteral("/applications").size()) +
                                   QStringLiteral("/locale"));
    }
    for (const QString &program : {app.program, resolved}) {
        const QString share = shareOf(program);
        if (!share.isEmpty())
            addUnique(folders, share + QStringLiteral("/locale"));
    }
    if (const QString snap = snapRoot(app.program); !snap.isEmpty()) {
        addUnique(folders, snap + QStringLiteral("/usr/share/locale"));
        addUnique(folders, snap + QStringLiteral("/share/locale"));
    }
    const auto search = [&](const QStringList &domains) {
        for (const QString &folder : std::as_const(folders)) {
            for (const QString &language : cachedEntries(folder)) {
                if (!isLanguageCode(language))
                    continue;
                const QString messages =
                    folder + QLatin1Char('/') + language + QStringLiteral("/LC_MESSAGES/");
                for (const QString &domain : domains) {
                    if (exists(messages + domain + QStringLiteral(".mo"))) {
                        addUnique(codes, fromGettext(language));
                        break;
                    }
                }
            }
        }
    };
    // A declared domain comes first; one without catalogues is often out of date
    // (Transmission declares "transmission" and ships transmission-gtk.mo).
    const QStringList domains = gettextDomains(app);
    const bool declared = !app.gettextDomain.isEmpty() && domains.value(0) == app.gettextDomain;
    search(declared ? domains.first(1) : domains);
    if (declared && codes.isEmpty())
        search(domains.mid(1));
}

// Qt's own catalogues (qt_fr.qm, qtbase_fr.qm), which some programs carry along, are not the
// program's; a program whose name starts with "qt" keeps its own.
bool isQtsOwn(const QString &owner, const QStringList &names)
{
    return owner.startsWith(QLatin1String("qt")) && !names.contains(owner);
}

// The catalogues among the files of the Debian package that installed the entry (or its
// program) and of its sibling packages, whatever their names: AisleRiot's "sol" keeps
// aisleriot.mo, gnome-disks gnome-disk-utility.mo, kid3-qt kid3_*.qm in kid3-core. Of several
// catalogues the most translated one is the program's own: the others are its plug-ins' or
// help's.
void findInPackage(const DesktopApplication &app, const QString &resolved,
                   const DesktopEntries::Setup &setup, Found &found)
{
    QString package = DebianPackages::owner(app.path, setup.packageDatabase);
    for (const QString &program : {resolved, app.program}) {
        if (package.isEmpty())
            package = DebianPackages::owner(program, setup.packageDatabase);
    }
    if (package.isEmpty())
        return;
    static const QRegularExpression mo(QStringLiteral("/locale/([^/]+)/LC_MESSAGES/([^/]+)\\.mo$"));
    const QStringList names = programNames(app, resolved);
    QHash<QString, QStringList> groups;
    QString best;
    for (const QString &file : DebianPackages::files(package, setup.packageDatabase)) {
        QString group, code;
        if (file.endsWith(QLatin1String(".mo"))) {
            const QRegularExpressionMatch match = mo.match(file);
            if (match.hasMatch() && isLanguageCode(match.captured(1)))
                group = QStringLiteral("mo:") + match.captured(2), code = match.captured(1);
        } else if (file.endsWith(QLatin1String(".qm"))) {
            const QString name = baseName(file);
            code = qmLanguage(name);
            const QString owner = name.chopped(code.size() + 4);
            if (!code.isEmpty() && !isQtsOwn(owner, names))
                group = QStringLiteral("qm:") + owner;
        } else if (file.endsWith(QLatin1String(".pak")) &&
                   file.contains(QLatin1String("/locales/"))) {
            code = pakLanguage(baseName(file));
            group = QStringLiteral("pak");
        }
        if (group.isEmpty() || code.isEmpty() || !exists(file))
            continue;
        QStringList &codes = groups[group];
        addUnique(codes, code);
        if (best.isEmpty() || codes.size() > groups.value(best).size())
            best = group;
    }
    found.codes = groups.value(best);
    found.chromium = best == QLatin1String("pak");
}

void addQmFolder(const QString &folder, const QString &prefix, QStringList &codes,
                 const QStringList &names = {})
{
    for (const QString &file : cachedEntries(folder)) {
        const QString language = qmLanguage(file, prefix);
        if (language.isEmpty())
            continue;
        if (prefix.isEmpty() && isQtsOwn(file.chopped(language.size() + 4), names))
            continue;
        addUnique(codes, language);
    }
}

void findQt(const DesktopApplication &app, const QString &resolved,
            const DesktopEntries::Setup &setup, QStringList &codes)
{
    QStringList dataFolders;
    for (const QString &folder : setup.folders) {
        if (folder.endsWith(QLatin1String("/applications")))
            addUnique(dataFolders, folder.chopped(QStringLiteral("/applications").size()));
    }
    for (const QString &program : {app.program, resolved})
        addUnique(dataFolders, shareOf(program));
    if (const QString snap = snapRoot(app.program); !snap.isEmpty())
        addUnique(dataFolders, snap + QStringLiteral("/usr/share"));

    const QStringList names = programNames(app, resolved);
    static const QStringList subfolders{QStringLiteral("/translations"), QStringLiteral("/locale"),
                                        QStringLiteral("/i18n"), QStringLiteral("/lang"),
                                        QString()};
    for (const QString &data : std::as_const(dataFolders)) {
        for (const QString &name : names) {
            for (const QString &sub : subfolders)
                addQmFolder(data + QLatin1Char('/') + name + sub, QString(), codes, names);
            addQmFolder(data + QStringLiteral("/lxqt/translations/") + name, QString(), codes,
                        names);
            // Qt's folders hold many programs' catalogues: only those named after this one.
            addQmFolder(data + QStringLiteral("/qt6/translations"), name, codes);
            addQmFolder(data + QStringLiteral("/qt5/translations"), name, codes);
        }
    }
    // A program shipped with its catalogues beside it.
    addQmFolder(QFileInfo(resolved).path() + QStringLiteral("/translations"), QString(), codes,
                names);
}

bool findChromium(const DesktopApplication &app, const QString &resolved, QStringList &codes)
{
    QStringList folders;
    addUnique(folders, QFileInfo(resolved).path() + QStringLiteral("/locales"));
    // A launcher script in /usr/bin for a program kept in /usr/lib/<name>.
    addUnique(folders,
              QStringLiteral("/usr/lib/") + baseName(app.program) + QStringLiteral("/locales"));
    bool found = false;
    for (const QString &folder : std::as_const(folders)) {
        for (const QString &file : cachedEntries(folder)) {
            const QString code = pakLanguage(file);
            if (!code.isEmpty()) {
                addUnique(codes, code);
                found = true;
            }
        }
    }
    return found;
}

void addLanguageFolders(const QString &folder, QStringList &codes)
{
    for (const QString &name : DirectoryListing::entries(folder)) {
        if (isLanguageCode(name))
            addUnique(codes, fromGettext(name));
    }
}

void findFlatpak(const DesktopApplication &app, const DesktopEntries::Setup &setup,
                 QStringList &codes)
{
    for (const QString &installation : setup.flatpakInstallations) {
        addLanguageFolders(installation + QStringLiteral("/app/") + app.flatpakId +
                               QStringLiteral("/current/active/files/share/locale"),
                           codes);
        // The .Locale extension holds one folder per installed language.
        const QString locale =
            installation + QStringLiteral("/runtime/") + app.flatpakId + QStringLiteral(".Locale");
        for (const QString &arch : DirectoryListing::entries(locale)) {
            for (const QString &branch :
                 DirectoryListing::entries(locale + QLatin1Char('/') + arch))
                addLanguageFolders(locale + QLatin1Char('/') + arch + QLatin1Char('/') + branch +
                                       QStringLiteral("/active/files"),
                                   codes);
        }
    }
}

bool isEnglish(const QString &code)
{
    return code.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList gettextDomains(const DesktopApplication &app)
{
    QStringList domains;
    if (!app.gettextDomain.contains(QLatin1Char('/')))
        addUnique(domains, app.gettextDomain);
    QString stem = app.id;
    stem.chop(QStringLiteral(".desktop").size());
    addUnique(domains, stem);
    addUnique(domains, stem.toLower());
    addUnique(domains, stem.section(QLatin1Char('.'), -1).toLower());
    addUnique(domains, baseName(app.program));
    addUnique(domains, baseName(QFileInfo(app.program).canonicalFilePath()));
    domains.removeAll(QStringLiteral(".."));
    domains.removeAll(QStringLiteral("."));
    return domains;
}

bool isLanguageCode(const QString &name)
{
    // Anchored for real: '$' would also match before a final line feed ("pt\n").
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("[a-z]{2,3}([_-]([A-Z][a-z]{3}|[A-Z]{2}|[0-9]{3}))*(@[A-Za-z0-9]+)?")));
    return pattern.match(name).hasMatch();
}

QString qmLanguage(const QString &fileName, const QString &prefix)
{
    if (!fileName.endsWith(QLatin1String(".qm")))
        return {};
    const QString base = fileName.chopped(3);
    QString language;
    if (!prefix.isEmpty()) {
        if (!base.startsWith(prefix + QLatin1Char('_')))
            return {};
        language = base.mid(prefix.size() + 1);
    } else {
        // From the end: a region or script joins the language before it.
        const QStringList parts = base.split(QLatin1Char('_'));
        if (parts.size() < 2)
            return {};
        qsizetype first = parts.size() - 1;
        while (first > 1 && !isLanguageCode(parts.at(first)) &&
               isLanguageCode(QStringLiteral("xx_") + parts.at(first)))
            --first;
        language = parts.mid(first).join(QLatin1Char('_'));
    }
    return isLanguageCode(language) ? language : QString();
}

QString pakLanguage(const QString &fileName)
{
    if (!fileName.endsWith(QLatin1String(".pak")))
        return {};
    const QString code = fileName.chopped(4);
    return isLanguageCode(code) ? code : QString();
}

QString fromGettext(const QString &name)
{
    // The code is the catalogue's own name, so that LANGUAGE gets exactly that name back.
    return LaunchEnvironment::withoutCodeset(name);
}

namespace {

// Spellings of one language share a name: "sr@latin", "sr@Latn" and "sr_Latn" are "Serbian
// (Latin)", "iw" and "he" "Hebrew". A code without a name stands for itself.
QString languageKey(const QString &code)
{
    const QString name = LanguageNames::displayNameForLocaleIdentifier(
        QString(code).replace(QLatin1Char('-'), QLatin1Char('_')), QStringLiteral("en"));
    return name.isEmpty() ? code.toLower() : name;
}

} // namespace

QStringList distinctLanguages(const QStringList &codes)
{
    // gettext's own spelling of a modifier is lower case ("sr@latin" beside "sr@Latn").
    const auto conventional = [](const QString &code) {
        return code == code.toLower() || !code.contains(QLatin1Char('@'));
    };
    QStringList result;
    QStringList keys;
    for (const QString &code : codes) {
        const QString key = languageKey(code);
        const qsizetype known = keys.indexOf(key);
        if (known < 0) {
            keys.append(key);
            result.append(code);
        } else if (conventional(code) != conventional(result.at(known)) ? conventional(code)
                                                                        : code < result.at(known)) {
            // The same choice whatever order the folders were listed in.
            result[known] = code;
        }
    }
    return result;
}

Found find(const DesktopApplication &app, const DesktopEntries::Setup &setup)
{
    Found found;
    if (!app.flatpakId.isEmpty()) {
        // The host's catalogues are not the sandboxed program's.
        findFlatpak(app, setup, found.codes);
    } else {
        const QString resolved = QFileInfo(app.program).canonicalFilePath();
        found.chromium = findChromium(app, resolved, found.codes);
        if (!found.chromium) {
            findGettext(app, resolved, setup, found.codes);
            findQt(app, resolved, setup, found.codes);
        }
        if (found.codes.isEmpty())
            findInPackage(app, resolved, setup, found);
    }
    found.codes = distinctLanguages(found.codes);
    // Programs are written in English and translated from it: with no catalogue of its own,
    // English is what the program shows when asked for it.
    if (!found.codes.isEmpty() && !found.chromium &&
        std::none_of(found.codes.cbegin(), found.codes.cend(), isEnglish)) {
        found.untranslated = QStringLiteral("en");
        found.codes.append(found.untranslated);
    }
    return found;
}

} // namespace Translations
