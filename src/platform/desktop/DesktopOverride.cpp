#include "platform/desktop/DesktopOverride.h"

#include "platform/desktop/DesktopEntries.h"
#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/DesktopExec.h"
#include "platform/files/FileOps.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <functional>

namespace DesktopOverride {

namespace {

const QByteArray kChecksumPrefix = kChecksumKey.toUtf8() + '=';
const QString kServiceGroup = QStringLiteral("D-BUS Service");
std::function<void()> beforeReplace;

QByteArray checksum(const QByteArray &text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
}

// A value as the file writes it: backslashes doubled, line breaks escaped.
QByteArray escaped(const QString &value)
{
    QString out = value;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return out.toUtf8();
}

// "Exec" or "Exec " before '=': the key of a line, else empty.
QByteArray keyOf(const QByteArray &line)
{
    const qsizetype equals = line.indexOf('=');
    return equals > 0 ? line.first(equals).trimmed() : QByteArray();
}

QByteArray execLine(const QByteArray &line, const QByteArray &prefix, const QString &option)
{
    const qsizetype equals = line.indexOf('=');
    QByteArray value = line.mid(equals + 1).trimmed();
    if (!option.isEmpty()) {
        // Before the files a launcher puts in, so that it is taken as an option.
        static const QRegularExpression files(QStringLiteral("(^|\\s)%[fFuU](\\s|$)"));
        const QString text = QString::fromUtf8(value);
        const QRegularExpressionMatch match = files.match(text);
        const QByteArray quoted = escaped(DesktopExec::quote(option));
        if (match.hasMatch()) {
            const qsizetype at = match.capturedStart() + match.captured(1).size();
            value = text.left(at).toUtf8() + quoted + ' ' + text.mid(at).toUtf8();
        } else {
            value += ' ' + quoted;
        }
    }
    return line.first(equals + 1) + prefix + value;
}

} // namespace

namespace {

// A copy of `original` with Vexilo's marker, a comment and the checksum: `line` makes each line
// of the copy (a key's new line, or the line itself) given its group.
QByteArray
marked(const QByteArray &original, const QString &language, const QByteArray &mainGroup,
       const std::function<std::optional<QByteArray>(const QByteArray &group, const QByteArray &key,
                                                     const QByteArray &line)> &line)
{
    QList<QByteArray> lines = original.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QList<QByteArray> out;
    out.append("# Written by Vexilo to open this application in " + language.toUtf8() +
               ". Vexilo's Always open in this language removes it again.");
    qsizetype checksumLine = -1;
    QByteArray group;
    for (const QByteArray &each : std::as_const(lines)) {
        const QByteArray trimmed = each.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            group = trimmed.mid(1, trimmed.size() - 2);
            out.append(each);
            if (group == mainGroup && checksumLine < 0) {
                out.append(kLanguageKey.toUtf8() + '=' + escaped(language));
                checksumLine = out.size();
                out.append(QByteArray());
            }
            continue;
        }
        const bool comment = trimmed.startsWith('#');
        if (const auto changed = line(group, comment ? QByteArray() : keyOf(each), each))
            out.append(*changed);
    }
    if (checksumLine < 0)
        return {};
    QList<QByteArray> withoutChecksum = out;
    withoutChecksum.removeAt(checksumLine);
    out[checksumLine] = kChecksumPrefix + checksum(withoutChecksum.join('\n') + '\n');
    return out.join('\n') + '\n';
}

std::optional<QString> markedLanguage(const QByteArray &text, const QString &mainGroup)
{
    qsizetype at = text.startsWith(kChecksumPrefix) ? 0 : text.indexOf('\n' + kChecksumPrefix);
    if (at < 0)
        return std::nullopt;
    if (at > 0)
        ++at;
    qsizetype end = text.indexOf('\n', at);
    if (end < 0)
        return std::nullopt;
    const QByteArray recorded =
        text.mid(at + kChecksumPrefix.size(), end - at - kChecksumPrefix.size());
    const QByteArray rest = text.left(at) + text.mid(end + 1);
    if (recorded != checksum(rest))
        return std::nullopt;
    const std::optional<DesktopEntry> entry = DesktopEntry::parse(text, mainGroup);
    if (!entry)
        return std::nullopt;
    const QString language = entry->value(kLanguageKey, mainGroup);
    if (language.isEmpty())
        return std::nullopt;
    return language;
}

// Who wrote the file at `path` (or the first of `candidates` that exists).
Found findFile(const QStringList &candidates, const QString &path, const QString &mainGroup)
{
    Found found;
    found.path = path;
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink())
            continue;
        found.path = candidate;
        found.owner = Owner::User;
        // Vexilo writes a plain file under the ID's own name, never a link.
        if (candidate == path && info.isFile() && !info.isSymLink()) {
            if (const auto bytes = FileOps::readAll(candidate)) {
                if (const auto language = markedLanguage(*bytes, mainGroup)) {
                    found.owner = Owner::Vexilo;
                    found.language = *language;
                }
            }
        }
        return found;
    }
    return found;
}

// Writes `contents` as Vexilo's file at `target` in `folder`, never over a file of another.
// Writes `contents` at `target` in `folder`: a file whose main group is `group`.
Result writeFile(const QString &folder, const QString &target, const Found &found,
                 const QByteArray &contents, const QString &group)
{
    if (found.owner == Owner::User)
        return Result::UserFile;
    if (contents.isEmpty() || !QDir().mkpath(folder))
        return Result::Failed;
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::ReadOther;

    QTemporaryFile temporary(folder + QStringLiteral("/.vexilo-XXXXXX"));
    if (!temporary.open() || temporary.write(contents) != contents.size() || !temporary.flush() ||
        !temporary.setPermissions(permissions))
        return Result::Failed;
    temporary.close();
    if (beforeReplace)
        beforeReplace();
    if (found.owner == Owner::Vexilo) {
        // Swapped with the old file rather than written through its name, which may have become
        // a link since the check; what turns out not to be Vexilo's any more is put back.
        if (!FileOps::exchange(temporary.fileName(), target))
            return Result::Failed;
        const QFileInfo old(temporary.fileName());
        if (!old.exists() && !old.isSymLink())
            return Result::Done; // replaced where the file system cannot swap
        const auto bytes = old.isFile() && !old.isSymLink() ? FileOps::readAll(temporary.fileName())
                                                            : std::nullopt;
        if (bytes && markedLanguage(*bytes, group))
            return Result::Done; // the old override goes with the temporary name
        if (FileOps::exchange(temporary.fileName(), target))
            return Result::UserFile;
        temporary.setAutoRemove(false); // what was swapped out is kept, not deleted
        return Result::Failed;
    }
    // A new file goes in under its name only if nobody put one there meanwhile.
    if (!FileOps::moveNoReplace(temporary.fileName(), target))
        return QFileInfo::exists(target) ? Result::UserFile : Result::Failed;
    temporary.setAutoRemove(false);
    return Result::Done;
}

Result removeFile(const Found &found)
{
    switch (found.owner) {
    case Owner::Nobody:
        return Result::Done;
    case Owner::User:
        return Result::UserFile;
    case Owner::Vexilo:
        break;
    }
    return QFile::remove(found.path) ? Result::Done : Result::Failed;
}

// A word of a service's Exec line, which the bus splits as a shell would.
QByteArray serviceWord(const QString &word)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_=:.,@/+-]+$"));
    if (plain.match(word).hasMatch())
        return word.toUtf8();
    if (word.contains(QLatin1Char('\'')) || word.contains(QLatin1Char('\n')))
        return {};
    return '\'' + word.toUtf8() + '\'';
}

} // namespace

QByteArray text(const QByteArray &original, const QString &language, const QStringList &assignments,
                const QString &option)
{
    QByteArray prefix = "env";
    for (const QString &assignment : assignments)
        prefix += ' ' + escaped(DesktopExec::quote(assignment));
    prefix += ' ';
    return marked(original, language, "Desktop Entry",
                  [&](const QByteArray &group, const QByteArray &key,
                      const QByteArray &line) -> std::optional<QByteArray> {
                      const bool action = group.startsWith("Desktop Action ");
                      if (key == "Exec" && (group == "Desktop Entry" || action))
                          return execLine(line, prefix, option);
                      if (key == "DBusActivatable" && group == "Desktop Entry")
                          return QByteArray("DBusActivatable=false");
                      return line;
                  });
}

QByteArray serviceText(const QByteArray &original, const QString &language,
                       const QStringList &assignments)
{
    // The bus runs Exec's program without a search of PATH.
    QByteArray prefix = "/usr/bin/env";
    for (const QString &assignment : assignments) {
        const QByteArray word = serviceWord(assignment);
        if (word.isEmpty())
            return {};
        prefix += ' ' + word;
    }
    prefix += ' ';
    return marked(original, language, kServiceGroup.toUtf8(),
                  [&](const QByteArray &group, const QByteArray &key,
                      const QByteArray &line) -> std::optional<QByteArray> {
                      if (group != kServiceGroup.toUtf8())
                          return line;
                      if (key == "Exec")
                          return execLine(line, prefix, QString());
                      // A bus that starts services through systemd would run the unit, not
                      // Exec.
                      if (key == "SystemdService")
                          return std::nullopt;
                      return line;
                  });
}

std::optional<QString> vexiloLanguage(const QByteArray &text)
{
    return markedLanguage(text, DesktopEntry::kMainGroup);
}

Found find(const QString &userFolder, const QString &id)
{
    return findFile(DesktopEntries::candidatePaths(userFolder, id),
                    userFolder + QLatin1Char('/') + id, DesktopEntry::kMainGroup);
}

Result write(const QString &userFolder, const QString &id, const QString &originalPath,
             const QString &language, const QStringList &assignments, const QString &option)
{
    if (!DesktopEntries::isSafeId(id) || userFolder.isEmpty())
        return Result::Failed;
    const Found found = find(userFolder, id);
    if (found.owner == Owner::User)
        return Result::UserFile;
    const std::optional<QByteArray> original = FileOps::readAll(originalPath);
    if (!original || !DesktopEntry::parse(*original))
        return Result::Failed;
    return writeFile(userFolder, userFolder + QLatin1Char('/') + id, found,
                     text(*original, language, assignments, option), DesktopEntry::kMainGroup);
}

void setBeforeReplaceForTesting(std::function<void()> hook)
{
    beforeReplace = std::move(hook);
}

Result remove(const QString &userFolder, const QString &id)
{
    return removeFile(find(userFolder, id));
}

QString serviceName(const QString &id)
{
    if (!DesktopEntries::isSafeId(id))
        return {};
    return id.chopped(QStringLiteral(".desktop").size());
}

Found findService(const QString &userServices, const QString &name)
{
    const QString path = userServices + QLatin1Char('/') + name + QStringLiteral(".service");
    return findFile({path}, path, kServiceGroup);
}

Result writeService(const QString &userServices, const QString &name, const QString &originalPath,
                    const QString &language, const QStringList &assignments)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || userServices.isEmpty())
        return Result::Failed;
    const Found found = findService(userServices, name);
    if (found.owner == Owner::User)
        return Result::UserFile;
    const std::optional<QByteArray> original = FileOps::readAll(originalPath);
    if (!original || !DesktopEntry::parse(*original, kServiceGroup))
        return Result::Failed;
    return writeFile(userServices, found.path, found, serviceText(*original, language, assignments),
                     kServiceGroup);
}

Result removeService(const QString &userServices, const QString &name)
{
    if (name.isEmpty())
        return Result::Done;
    return removeFile(findService(userServices, name));
}

} // namespace DesktopOverride
