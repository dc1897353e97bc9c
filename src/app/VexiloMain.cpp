#include "VexiloMain.h"

#include "AppController.h"
#include "Bundle.h"
#include "Platform.h"
#include "ProcessMemory.h"
#include "chrome/GlassLook.h"

#include <QApplication>
#include <QIcon>
#include <QTranslator>

int vexiloMain(int argc, char *argv[], const std::function<void(AppController &)> &started)
{
    ProcessMemory::limitHeaps();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexilo"));
    QApplication::setOrganizationDomain(QStringLiteral("vexilo.org"));
    QApplication::setDesktopFileName(QStringLiteral("org.vexilo.Vexilo"));
    // Menus, pop-ups and dialogs are windows of their own, which take the application's
    // palette rather than their parent's: dark everywhere, so all match the glass.
    QApplication::setPalette(GlassLook::palette());

    auto platform = std::make_shared<const Platform>(Platform::standard());

    // Vexilo's texts in the user's language, from its own bundle's localisation folders.
    QTranslator translator;
    if (const auto bundle = Bundle::bundleWithPath(platform->mainBundlePath)) {
        const QString icon =
            bundle->pathForResource(QStringLiteral("Vexilo"), QStringLiteral("icns"));
        if (!icon.isEmpty())
            QApplication::setWindowIcon(QIcon(icon));
        const QString qm = bundle->pathForResource(QStringLiteral("Vexilo"), QStringLiteral("qm"));
        if (!qm.isEmpty() && translator.load(qm))
            QApplication::installTranslator(&translator);
    }

    AppController controller(platform);
    controller.start();
    if (started)
        started(controller);
    return QApplication::exec();
}
