#include "VexiloMain.h"

#include "AppController.h"
#include "chrome/DeferredIconStyle.h"
#include "chrome/GlassLook.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"
#include "platform/icon/IconImage.h"
#include "platform/process/ProcessMemory.h"

#include <QApplication>
#include <QFutureWatcher>
#include <QIcon>
#include <QPixmap>
#include <QTranslator>
#include <QtConcurrent>

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
    QApplication::setStyle(new DeferredIconStyle);

    auto platform = std::make_shared<const Platform>(Platform::standard());

    // Vexilo's texts in the user's language, from its own bundle's localisation folders.
    QTranslator translator;
    if (const auto bundle = Bundle::bundleWithPath(platform->mainBundlePath)) {
        const QString icon =
            bundle->pathForResource(QStringLiteral("Vexilo"), QStringLiteral("icns"));
        // Decoding the icon's pictures took a tenth of start-up; the window does not wait for it.
        if (!icon.isEmpty()) {
            auto *decoded = new QFutureWatcher<QImage>(&app);
            QObject::connect(decoded, &QFutureWatcher<QImage>::finished, &app, [decoded] {
                QApplication::setWindowIcon(QIcon(QPixmap::fromImage(decoded->result())));
            });
            decoded->setFuture(
                QtConcurrent::run([icon] { return IconImage::loadToFit(icon, 128); }));
        }
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
