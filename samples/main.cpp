// A small localised application, wrapped in a bundle for the demo and the tests: it opens in the
// language its launch arguments, its stored preference or the user's languages choose.
#include "SampleIcon.h"
#include "SampleSetup.h"
#include "platform/locale/LanguageNames.h"
#include "platform/preferences/PreferencesStore.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

// SIGTERM (the way Vexilo quits applications) and SIGINT end the event loop from the main
// thread, so the program leaves through its normal exit with status 0.
bool quitOnTerminationSignals(QCoreApplication &app)
{
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGINT, &action, nullptr) == 0;
}

// --write-icon <out.png> <colour> <letter> [size]: the icon the demo recipe turns into an .icns
// file (256 pixels square unless a size is given).
int writeIcon(int argc, char **argv, const QStringList &options)
{
    bool sizeOk = true;
    const int size = options.size() == 4 ? options.at(3).toInt(&sizeOk) : SampleIcon::kSize;
    if (options.size() < 3 || options.size() > 4 || !sizeOk) {
        std::fprintf(stderr,
                     "usage: vexilo-sample --write-icon <out.png> <#rrggbb> <letter> [size]\n");
        return 2;
    }
    // Rendering needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QImage icon = SampleIcon::render(options.at(1), options.at(2), size);
    if (icon.isNull()) {
        std::fprintf(stderr, "Error: not a colour, an empty letter or a bad size: %s %s %d\n",
                     qPrintable(options.at(1)), qPrintable(options.at(2)), size);
        return 1;
    }
    if (!icon.save(options.at(0), "PNG")) {
        std::fprintf(stderr, "Error: could not write %s\n", qPrintable(options.at(0)));
        return 1;
    }
    return 0;
}

class SampleWindow : public QWidget {
public:
    explicit SampleWindow(const SampleSetup::Texts &texts)
    {
        setWindowTitle(texts.title);
        if (!texts.localization.isEmpty())
            setLayoutDirection(QLocale(texts.localization).textDirection());
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(32, 24, 32, 24);
        layout->setSpacing(12);

        if (!texts.iconPath.isEmpty()) {
            const QIcon icon(texts.iconPath);
            setWindowIcon(icon);
            auto *image = new QLabel(this);
            image->setPixmap(icon.pixmap(96, 96));
            image->setAlignment(Qt::AlignCenter);
            layout->addWidget(image);
        }

        auto *greeting = new QLabel(texts.greeting, this);
        QFont big = greeting->font();
        big.setPixelSize(56);
        big.setBold(true);
        greeting->setFont(big);
        greeting->setAlignment(Qt::AlignCenter);
        layout->addWidget(greeting);

        auto *opened = new QLabel(texts.openedLine, this);
        opened->setAlignment(Qt::AlignCenter);
        opened->setForegroundRole(QPalette::PlaceholderText);
        layout->addWidget(opened);
        setMinimumSize(360, 220);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    const qsizetype iconOption = arguments.indexOf(QStringLiteral("--write-icon"));
    if (iconOption > 0)
        return writeIcon(argc, argv, arguments.mid(iconOption + 1));

    QApplication app(argc, argv);
    if (!quitOnTerminationSignals(app))
        std::fprintf(stderr, "Error: cannot watch for SIGTERM; the sample will not quit on it.\n");

    const QString bundlePath =
        SampleSetup::bundlePathForExecutable(QCoreApplication::applicationFilePath());
    const PreferencesStore store(PreferencesStore::defaultDirectory());
    const SampleSetup::Texts texts =
        SampleSetup::resolve(bundlePath, arguments, store, LanguageNames::preferredLanguages());
    QCoreApplication::setApplicationName(texts.title);

    // Read by the tests and by whoever started the sample.
    const QByteArray chosen =
        texts.localization.isEmpty() ? QByteArrayLiteral("none") : texts.localization.toUtf8();
    std::printf("language: %s\n", chosen.constData());
    std::fflush(stdout);

    SampleWindow window(texts);
    window.show();
    return app.exec();
}
