#include "TestEnvironment.h"

#include "platform/bundle/Workspace.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/process/Processes.h"

#include <QDir>

TestEnvironment::TestEnvironment()
{
    const QString base = m_dir.path();
    for (const char *sub : {"config", "data", "cache", "Applications"})
        QDir().mkpath(base + QLatin1Char('/') + QLatin1String(sub));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("/data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(base + QStringLiteral("/cache")));
    qputenv("VEXILO_APPLICATIONS_DIR", QFile::encodeName(applicationsDirectory()));

    m_platform.preferences = std::make_shared<PreferencesStore>(preferencesDirectory());
    m_platform.workspace = std::make_shared<Workspace>(
        applicationsDirectory(), base + QStringLiteral("/data/vexilo/KnownApplications.plist"));
    m_platform.processes = std::make_shared<Processes>();
    m_platform.mainBundlePath = QStringLiteral(VEXILO_TEST_BUNDLE);
}

QString TestEnvironment::preferencesDirectory() const
{
    return root() + QStringLiteral("/config/vexilo/Preferences");
}

bool TestEnvironment::blockPreferences() const
{
    QFile blocker(preferencesDirectory());
    return QDir(preferencesDirectory()).removeRecursively() &&
           QDir().mkpath(QFileInfo(preferencesDirectory()).path()) &&
           blocker.open(QIODevice::WriteOnly);
}

void TestEnvironment::setLanguage(const QString &locale, const QString &languageList)
{
    qputenv("LANG", locale.toUtf8() + ".UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    if (languageList.isEmpty())
        qunsetenv("LANGUAGE");
    else
        qputenv("LANGUAGE", languageList.toUtf8());
}
