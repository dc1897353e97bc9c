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

namespace DesktopOverride {

namespace {

const QByteArray kChecksumPrefix = kChecksumKey.toUtf8() + '=';
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

QByteArray text(const QByteArray &original, const QString &language, const QStringList &assignments,
                const QString &option)
{
    QByteArray prefix = "env";
    for (const QString &assignment : assignments)
        prefix += ' ' + escaped(DesktopExec::quote(assignment));
    prefix += ' ';

    QList<QByteArray> lines = original.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QList<QByteArray> out;
    out.append("# Written by Vexilo to open this application in " + language.toUtf8() +
               ". Vexilo's Always open in this language removes it again.");
    qsizetype checksumLine = -1;
    QByteArray group;
    for (const QByteArray &line : std::as_const(lines)) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            group = trimmed.mid(1, trimmed.size() - 2);
            out.append(line);
            if (group == "Desktop Entry" && checksumLine < 0) {
                out.append(kLanguageKey.toUtf8() + '=' + escaped(language));
                checksumLine = out.size();
                out.append(QByteArray());
            }
            continue;
        }
        const bool comment = trimmed.startsWith('#');
        const QByteArray key = comment ? QByteArray() : keyOf(line);
        const bool action = group.startsWith("Desktop Action ");
        if (key == "Exec" && (group == "Desktop Entry" || action))
            out.append(execLine(line, prefix, option));
        else if (key == "DBusActivatable" && group == "Desktop Entry")
            out.append("DBusActivatable=false");
        else
            out.append(line);
    }
    if (checksumLine < 0)
        return {};
    QList<QByteArray> withoutChecksum = out;
    withoutChecksum.removeAt(checksumLine);
    out[checksumLine] = kChecksumPrefix + checksum(withoutChecksum.join('\n') + '\n');
    return out.join('\n') + '\n';
}

std::optional<QString> vexiloLanguage(const QByteArray &text)
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
    const std::optional<DesktopEntry> entry = DesktopEntry::parse(text);
    if (!entry)
        return std::nullopt;
    const QString language = entry->value(kLanguageKey);
    if (language.isEmpty())
        return std::nullopt;
    return language;
}

Found find(const QString &userFolder, const QString &id)
{
    Found found;
    found.path = userFolder + QLatin1Char('/') + id;
    for (const QString &candidate : DesktopEntries::candidatePaths(userFolder, id)) {
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink())
            continue;
        found.path = candidate;
        found.owner = Owner::User;
        // Vexilo writes a plain file under the ID's own name, never a link.
        if (candidate == userFolder + QLatin1Char('/') + id && info.isFile() && !info.isSymLink()) {
            if (const auto bytes = FileOps::readAll(candidate)) {
                if (const auto language = vexiloLanguage(*bytes)) {
                    found.owner = Owner::Vexilo;
                    found.language = *language;
                }
            }
        }
        return found;
    }
    return found;
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
    const QByteArray contents = text(*original, language, assignments, option);
    if (contents.isEmpty() || !QDir().mkpath(userFolder))
        return Result::Failed;
    const QString target = userFolder + QLatin1Char('/') + id;
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::ReadOther;

    QTemporaryFile temporary(userFolder + QStringLiteral("/.vexilo-XXXXXX"));
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
        if (bytes && vexiloLanguage(*bytes))
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

void setBeforeReplaceForTesting(std::function<void()> hook)
{
    beforeReplace = std::move(hook);
}

Result remove(const QString &userFolder, const QString &id)
{
    const Found found = find(userFolder, id);
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

} // namespace DesktopOverride
