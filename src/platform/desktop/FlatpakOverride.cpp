#include "platform/desktop/FlatpakOverride.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/files/FileOps.h"

#include <QDir>
#include <QRegularExpression>

namespace FlatpakOverride {

QString overridesFile(const QString &appId, const QProcessEnvironment &environment)
{
    QString root = environment.value(QStringLiteral("FLATPAK_USER_DIR"));
    if (!root.startsWith(QLatin1Char('/'))) {
        QString data = environment.value(QStringLiteral("XDG_DATA_HOME"));
        if (!data.startsWith(QLatin1Char('/')))
            data = QDir::homePath() + QStringLiteral("/.local/share");
        root = data + QStringLiteral("/flatpak");
    }
    return root + QStringLiteral("/overrides/") + appId;
}

bool isValidId(const QString &appId)
{
    // Anchored for real: '$' would also match before a final line feed.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("[A-Za-z_][A-Za-z0-9_-]*(\\.[A-Za-z_][A-Za-z0-9_-]*)+")));
    return appId.size() <= 255 && pattern.match(appId).hasMatch();
}

DesktopOverride::Found find(const QString &appId, const QProcessEnvironment &environment)
{
    DesktopOverride::Found found;
    found.path = overridesFile(appId, environment);
    const std::optional<QByteArray> bytes = FileOps::readAll(found.path);
    const std::optional<DesktopEntry> file =
        bytes ? DesktopEntry::parse(*bytes, QString()) : std::nullopt;
    const QString group = QStringLiteral("Environment");
    if (!file || !file->hasKey(QStringLiteral("LANGUAGE"), group))
        return found;
    const QString value = file->value(QStringLiteral("LANGUAGE"), group);
    const QString marker = file->value(kMarker, group);
    const qsizetype slash = marker.indexOf(QLatin1Char('/'));
    found.owner = DesktopOverride::Owner::User;
    if (slash > 0 && marker.mid(slash + 1) == value) {
        found.owner = DesktopOverride::Owner::Vexilo;
        found.language = marker.left(slash);
    }
    return found;
}

QStringList setArguments(const QString &appId, const QString &code, const QString &value)
{
    return {QStringLiteral("override"), QStringLiteral("--user"),
            QStringLiteral("--env=LANGUAGE=") + value,
            QStringLiteral("--env=%1=%2/%3").arg(kMarker, code, value), appId};
}

QStringList unsetArguments(const QString &appId)
{
    return {QStringLiteral("override"), QStringLiteral("--user"),
            QStringLiteral("--unset-env=LANGUAGE"), QStringLiteral("--unset-env=") + kMarker,
            appId};
}

} // namespace FlatpakOverride
