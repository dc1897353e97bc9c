#include "platform/Platform.h"

#include "platform/bundle/Workspace.h"
#include "platform/desktop/DesktopEntries.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/process/Processes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString Platform::defaultsToolPath() const
{
    return mainBundlePath + QStringLiteral("/Contents/Helpers/defaults");
}

Platform Platform::standard()
{
    Platform p;
    p.preferences = std::make_shared<PreferencesStore>(PreferencesStore::defaultDirectory());
    p.workspace = std::make_shared<Workspace>(Workspace::defaultApplicationsDirectory(),
                                              Workspace::defaultRegistryFile());
    p.processes = std::make_shared<Processes>();
    p.desktopEntries = std::make_shared<DesktopEntries>(DesktopEntries::standardSetup());

    QDir dir(QCoreApplication::applicationDirPath());
    const bool inBundle = dir.dirName() == QLatin1String("MacOS") && dir.cdUp() &&
                          dir.dirName() == QLatin1String("Contents") && dir.cdUp();
    p.mainBundlePath = inBundle ? dir.absolutePath() : QCoreApplication::applicationDirPath();
    return p;
}
