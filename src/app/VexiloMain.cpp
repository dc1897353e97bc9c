#include "VexiloMain.h"

#include "AppController.h"
#include "CommandLine.h"
#include "chrome/DeferredIconStyle.h"
#include "chrome/FocusRingStyle.h"
#include "chrome/GlassLook.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"
#include "platform/icon/IconImage.h"
#include "platform/process/ProcessMemory.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <QtConcurrentRun>
#include <cstdio>

namespace {

// Runs `work` once the event loop is back from the first paint of a window: what the window
// does not need in order to show must not compete with it for the processor or the loader.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(std::function<void()> work, QObject *parent)
        : QObject(parent), m_work(std::move(work))
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_work && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, this, std::exchange(m_work, {}));
        }
        return false;
    }

private:
    std::function<void()> m_work;
};

} // namespace

int vexiloMain(int argc, char *argv[], const std::function<void(AppController &)> &started)
{
    // Answered before Qt is started: --help needs no window, and Qt ends in an abort where no
    // display is.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine::Request request =
        CommandLine::parse(arguments, [](const char *name) { return qEnvironmentVariable(name); });
    if (request.command != CommandLine::Command::OpenWindow) {
        std::fputs(request.text.toLocal8Bit().constData(),
                   request.exitStatus == 0 ? stdout : stderr);
        return request.exitStatus;
    }

    ProcessMemory::limitHeaps();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexilo"));
    QApplication::setOrganizationDomain(QStringLiteral("vexilo.org"));
    QApplication::setDesktopFileName(QStringLiteral("org.vexilo.Vexilo"));
    // Menus, pop-ups and dialogs are windows of their own, which take the application's
    // palette rather than their parent's: dark everywhere, so all match the glass.
    QApplication::setPalette(GlassLook::palette());
    QApplication::setStyle(new FocusRingStyle(new DeferredIconStyle));

    auto platform = std::make_shared<const Platform>(Platform::standard());

    // Vexilo's texts in the user's language, from its own bundle's localisation folders.
    QTranslator translator;
    QTranslator qtTranslator;
    if (const auto bundle = Bundle::bundleWithPath(platform->mainBundlePath)) {
        const QString icon =
            bundle->pathForResource(QStringLiteral("Vexilo"), QStringLiteral("icns"));
        // Decoding the icon's pictures took a tenth of start-up, and on another thread still
        // competed with the window: it starts once the window has painted.
        if (!icon.isEmpty()) {
            new AfterFirstPaint(
                [icon, &app] {
                    auto *decoded = new QFutureWatcher<QImage>(&app);
                    QObject::connect(decoded, &QFutureWatcher<QImage>::finished, &app, [decoded] {
                        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(decoded->result())));
                    });
                    decoded->setFuture(
                        QtConcurrent::run([icon] { return IconImage::loadToFit(icon, 128); }));
                },
                &app);
        }
        const QString qm = bundle->pathForResource(QStringLiteral("Vexilo"), QStringLiteral("qm"));
        if (!qm.isEmpty() && translator.load(qm)) {
            QApplication::installTranslator(&translator);
            // Qt's own texts in the language Vexilo chose for itself: its localisation
            // folder's name.
            const QString language = QFileInfo(qm).dir().dirName().section(u'.', 0, 0);
            if (qtTranslator.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                QApplication::installTranslator(&qtTranslator);
        }
    }

    AppController controller(platform);
    controller.start();
    if (started)
        started(controller);
    return QApplication::exec();
}
