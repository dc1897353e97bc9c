#include "CliCommands.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vexilo"));
    Platform platform = Platform::standard();
    // This program lies in <bundle>/Contents/Helpers: the bundle is two folders up.
    QDir dir(QCoreApplication::applicationDirPath());
    if (dir.dirName() == QLatin1String("Helpers") && dir.cdUp() &&
        dir.dirName() == QLatin1String("Contents") && dir.cdUp())
        platform.mainBundlePath = dir.absolutePath();

    QTranslator translator;
    QString identifier = QStringLiteral("org.vexilo.Vexilo");
    if (const auto bundle = Bundle::bundleWithPath(platform.mainBundlePath)) {
        const QString qm = bundle->pathForResource(QStringLiteral("Vexilo"), QStringLiteral("qm"));
        if (!qm.isEmpty() && translator.load(qm))
            QCoreApplication::installTranslator(&translator);
        if (!bundle->bundleIdentifier().isEmpty())
            identifier = bundle->bundleIdentifier();
    }

    const Cli::Outcome outcome =
        Cli::run(platform, identifier, QCoreApplication::arguments().mid(1));
    std::fputs(outcome.out.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.err.toLocal8Bit().constData(), stderr);
    return outcome.status;
}
