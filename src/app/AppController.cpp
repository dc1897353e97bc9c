#include "AppController.h"

#include "Bundle.h"
#include "DonationAlert.h"
#include "MainWindow.h"
#include "Platform.h"
#include "UserDefaults.h"
#include "WindowPlacement.h"
#include "about/AboutTexts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/VexiloDefaults.h"
#include "language/AlwaysOpen.h"
#include "language/LaunchWorker.h"
#include "language/Launcher.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "row/RowBrowser.h"

#include <QApplication>
#include <QDateTime>
#include <QIcon>

namespace {

const QString kFallbackIdentifier = QStringLiteral("org.vexilo.Vexilo");

QString ownIdentifier(const Platform &platform)
{
    const auto bundle = Bundle::bundleWithPath(platform.mainBundlePath);
    const QString identifier = bundle ? bundle->bundleIdentifier() : QString();
    return identifier.isEmpty() ? kFallbackIdentifier : identifier;
}

// The desktop's icon for programs, else the one Vexilo ships.
QImage genericIcon(const Platform &platform)
{
    const auto bundle = Bundle::bundleWithPath(platform.mainBundlePath);
    const QString shipped = bundle ? bundle->pathForResource(QStringLiteral("GenericApplication"),
                                                             QStringLiteral("png"))
                                   : QString();
    const QIcon icon = QIcon::fromTheme(QStringLiteral("application-x-executable"), QIcon(shipped));
    return icon.pixmap(128).toImage();
}

} // namespace

AppController::AppController(std::shared_ptr<const Platform> platform, QObject *parent)
    : QObject(parent), m_platform(std::move(platform)),
      m_defaults(
          std::make_shared<UserDefaults>(m_platform->preferences, ownIdentifier(*m_platform))),
      m_storedLanguages(std::make_unique<StoredLanguages>(m_platform->defaultsToolPath())),
      m_runningInstances(std::make_unique<RunningInstances>(m_platform->processes)),
      m_catalogue(std::make_unique<Catalogue>(m_platform, m_defaults)),
      m_selection(std::make_unique<Selection>(m_platform, *m_storedLanguages, *m_runningInstances)),
      m_row(std::make_unique<RowBrowser>()), m_window(std::make_unique<MainWindow>(*m_row)),
      m_support(std::make_unique<SupportCommands>(m_platform->mainBundlePath, m_defaults)),
      m_launchWorker(std::make_unique<LaunchWorker>()),
      m_launcher(std::make_unique<Launcher>(m_platform, *m_selection, *m_launchWorker)),
      m_alwaysOpen(std::make_unique<AlwaysOpen>(m_platform, *m_selection, *m_storedLanguages,
                                                *m_runningInstances, *m_launchWorker)),
      m_askToDonate([this](const DonationReminder::Texts &texts) {
          return askToDonate(m_window.get(), texts);
      }),
      m_now([] { return QDateTime::currentDateTimeUtc(); })
{
    MainWindow *window = m_window.get();
    connect(m_catalogue.get(), &Catalogue::loadingProgress, window,
            &MainWindow::setLoadingProgress);
    connect(m_catalogue.get(), &Catalogue::loaded, this, &AppController::catalogueLoaded);
    connect(m_selection.get(), &Selection::panelChanged, window, &MainWindow::showPanel);

    connect(window, &MainWindow::searchTextChanged, m_row.get(), &RowBrowser::search);
    connect(m_row.get(), &RowBrowser::listingClicked, m_selection.get(), &Selection::select);
    connect(m_row.get(), &RowBrowser::selectionEmptied, m_selection.get(), &Selection::clear);
    connect(m_row.get(), &RowBrowser::removeRequested, this, &AppController::removeAppAtIndex);
    connect(window, &MainWindow::languageChosen, m_selection.get(), &Selection::chooseLanguage);
    connect(window, &MainWindow::launchRequested, m_launcher.get(), &Launcher::launch);
    connect(m_launcher.get(), &Launcher::quitConfirmationNeeded, this, [this](const SheetText &t) {
        m_window->showSheet(t, [this](bool accepted) {
            if (accepted)
                m_launcher->quitAndLaunch();
        });
    });
    connect(window, &MainWindow::alwaysOpenChosen, m_alwaysOpen.get(), &AlwaysOpen::request);
    connect(m_alwaysOpen.get(), &AlwaysOpen::confirmationNeeded, this, [this](const SheetText &t) {
        m_window->showSheet(t, [this](bool accepted) {
            if (accepted)
                m_alwaysOpen->confirm();
        });
    });
    connect(m_launchWorker.get(), &LaunchWorker::busyChanged, m_selection.get(),
            &Selection::setLaunching);
    connect(m_launchWorker.get(), &LaunchWorker::event, m_selection.get(),
            &Selection::applyLaunchEvent);
    connect(window, &MainWindow::aboutRequested, window, &MainWindow::showAboutBox);
    connect(window, &MainWindow::helpRequested, this, [this] { m_support->showHelp(); });
    connect(window, &MainWindow::feedbackRequested, this, [this] { m_support->sendFeedback(); });
    connect(window, &MainWindow::donateRequested, this, [this] { m_support->donate(); });
    // Closing the main window quits Vexilo.
    connect(window, &MainWindow::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    applicationActivated();
            });
}

AppController::~AppController() = default;

void AppController::setUrlOpener(SupportCommands::UrlOpener opener)
{
    m_support->setUrlOpener(std::move(opener));
}

void AppController::setDonationAsker(SupportCommands::DonationAsker asker)
{
    m_askToDonate = std::move(asker);
}

void AppController::setClock(std::function<QDateTime()> clock)
{
    m_now = std::move(clock);
}

void AppController::start()
{
    centreOnScreen(m_window.get());
    m_window->setGenericIcon(genericIcon(*m_platform));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    VexiloDefaults::prepare(*m_defaults, m_now());
    m_catalogue->startLoading();
}

void AppController::catalogueLoaded()
{
    m_window->setAboutTexts(aboutTexts(m_platform->mainBundlePath));
    m_window->finishLoading();

    const QList<AppListingPtr> apps = m_catalogue->apps();
    if (apps.isEmpty())
        m_selection->clear();
    else
        m_selection->select(apps.first());
    m_row->bridge(apps);
    m_row->setSelected(0);

    VexiloDefaults::countUse(*m_defaults);
    qInfo().noquote() << QStringLiteral("Vexilo: catalogue loaded (%1 of %2 applications shown).")
                             .arg(apps.size())
                             .arg(m_catalogue->allApps().size());
    // Last: the reminder waits for its answer before anything else happens.
    m_support->remindOfDonationIfDue(m_now(), m_askToDonate);
    emit catalogueShown();
}

void AppController::removeAppAtIndex(int index)
{
    // Confirming and hiding the application come with the removal sheet.
    if (index >= 0 && index < m_catalogue->apps().size())
        emit removeAppRequested(index);
}

void AppController::applicationActivated()
{
    m_selection->refreshRunning();
}
