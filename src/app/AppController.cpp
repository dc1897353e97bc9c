#include "AppController.h"

#include "ApplicationChooser.h"
#include "DonationAlert.h"
#include "HiddenAppsSheet.h"
#include "MainWindow.h"
#include "WindowPlacement.h"
#include "about/AboutTexts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueSheets.h"
#include "catalogue/VexiloDefaults.h"
#include "language/AlwaysOpen.h"
#include "language/LaunchWorker.h"
#include "language/Launcher.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"
#include "platform/bundle/Workspace.h"
#include "platform/preferences/UserDefaults.h"
#include "row/RowBrowser.h"

#include <QApplication>
#include <QDateTime>
#include <QIcon>
#include <QPointer>
#include <QTimer>

namespace {

const QString kFallbackIdentifier = QStringLiteral("org.vexilo.Vexilo");
// A window that is never painted (started on a desktop out of sight) waits no longer than this
// to show its catalogue.
constexpr int kFirstPaintWaitMs = 250;

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
      m_storedLanguages(std::make_unique<StoredLanguages>(m_platform)),
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
      m_now([] { return QDateTime::currentDateTimeUtc(); }),
      m_chooseApplications([this](QWidget *parent, std::function<void(const QStringList &)> done) {
          ::ApplicationChooser::open(parent, m_platform->workspace->applicationsDirectory(),
                                     std::move(done));
      })
{
    MainWindow *window = m_window.get();
    connect(m_catalogue.get(), &Catalogue::loadingProgress, window,
            &MainWindow::setLoadingProgress);
    connect(m_catalogue.get(), &Catalogue::loaded, this, &AppController::catalogueLoaded);
    connect(m_selection.get(), &Selection::panelChanged, window, &MainWindow::showPanel);

    connect(window, &MainWindow::searchTextChanged, m_row.get(), &RowBrowser::search);
    // The panel shows the row's selection, whoever changed it.
    connect(m_row.get(), &RowBrowser::currentChanged, m_selection.get(),
            [selection = m_selection.get()](const AppListingPtr &listing) {
                if (listing)
                    selection->selectInBackground(listing);
                else
                    selection->clear();
            });
    connect(m_row.get(), &RowBrowser::removeRequested, this, &AppController::removeAppAtIndex);
    connect(window, &MainWindow::addRequested, this, &AppController::add);
    connect(window, &MainWindow::showAppsRequested, this, &AppController::showAppList);
    // In this order: the row takes the new list over before it resizes to it.
    connect(m_catalogue.get(), &Catalogue::listChanged, this, &AppController::showChangedList);
    connect(m_catalogue.get(), &Catalogue::listChanged, m_row.get(), &RowBrowser::updateSize);
    connect(window, &MainWindow::languageChosen, m_selection.get(), &Selection::chooseLanguage);
    connect(window, &MainWindow::launchRequested, m_launcher.get(), &Launcher::launch);
    connect(m_launcher.get(), &Launcher::quitConfirmationNeeded, this, [this](const SheetText &t) {
        m_window->showSheet(t, [this](bool accepted) {
            if (accepted)
                m_launcher->quitAndLaunch();
        });
    });
    connect(m_launcher.get(), &Launcher::noticeNeeded, this,
            [this](const SheetText &t) { m_window->showSheet(t); });
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
    // The opener answers later, perhaps after the window has gone.
    m_support->setFallbacks(
        [window = QPointer(window)](const QString &page) {
            if (window)
                window->showHelpPage(page);
        },
        [window = QPointer(window)](const SheetText &text) {
            if (window)
                window->showSheetToCopy(text);
        });
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

void AppController::setApplicationChooser(ApplicationChooser chooser)
{
    m_chooseApplications = std::move(chooser);
}

void AppController::start()
{
    centreOnScreen(m_window.get());
    m_window->setGenericIcon([platform = m_platform] { return genericIcon(*platform); });
    m_window->installEventFilter(this);
    QTimer::singleShot(kFirstPaintWaitMs, this, &AppController::firstPaintDone);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

bool AppController::eventFilter(QObject *watched, QEvent *event)
{
    // Once the event loop is back from painting.
    if (watched == m_window.get() && event->type() == QEvent::Paint) {
        m_window->removeEventFilter(this);
        QTimer::singleShot(0, this, &AppController::firstPaintDone);
    }
    return QObject::eventFilter(watched, event);
}

void AppController::firstPaintDone()
{
    if (m_windowPainted)
        return;
    m_windowPainted = true;
    // The load starts once the window is on the screen: before, it would compete with the first
    // paint for the processor, and what it finds is shown only after that paint anyway.
    VexiloDefaults::prepare(*m_defaults, m_now());
    m_catalogue->startLoading();
}

void AppController::catalogueLoaded()
{
    m_window->setAboutTexts(aboutTexts(m_platform->mainBundlePath));
    m_window->finishLoading();

    const QList<AppListingPtr> apps = m_catalogue->apps();
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

void AppController::add()
{
    // Until the load ends there is no list to add to.
    if (m_catalogue->isLoaded())
        m_chooseApplications(m_window.get(),
                             [this](const QStringList &paths) { addChosen(paths); });
}

void AppController::addChosen(const QStringList &paths)
{
    const Catalogue::AddOutcome outcome = m_catalogue->add(paths);
    using Status = Catalogue::AddOutcome::Status;
    switch (outcome.status) {
    case Status::NothingChosen:
        return;
    case Status::NotAnApplication:
        m_window->showSheet(CatalogueSheets::notAnApplication(outcome.rejected,
                                                              CatalogueSheets::OthersChosen::None));
        return;
    case Status::NothingNew:
        m_window->showSheet(
            outcome.rejected.isEmpty()
                ? CatalogueSheets::nothingAdded()
                : CatalogueSheets::notAnApplication(outcome.rejected,
                                                    CatalogueSheets::OthersChosen::AlreadyShown));
        return;
    case Status::NotSaved:
        reportNotSaved();
        return;
    case Status::Added:
        break;
    }
    // A search might leave the new application out of sight.
    m_window->clearSearch();
    m_row->bridge(m_catalogue->apps());
    m_row->setSelected(outcome.addition.firstNewIndex);
    // One sheet: the folders left out matter more than the count.
    if (!outcome.rejected.isEmpty())
        m_window->showSheet(CatalogueSheets::notAnApplication(
            outcome.rejected, CatalogueSheets::OthersChosen::Added));
    else if (outcome.addition.count() > 1)
        m_window->showSheet(CatalogueSheets::added(outcome.addition.count()));
}

void AppController::removeAppAtIndex(int index)
{
    const QList<AppListingPtr> apps = m_catalogue->apps();
    if (index < 0 || index >= apps.size())
        return;
    const AppListingPtr listing = apps.at(index);
    // Hidden applications are remembered by identifier only: say so rather than ask first.
    if (listing->identifier().isEmpty()) {
        m_window->showSheet(
            CatalogueSheets::cannotRemove(listing->localizedAppName(), listing->invalid()));
        return;
    }
    // The sheet keeps the listing rather than its index, which names another application should
    // the list change before the answer.
    m_window->showSheet(CatalogueSheets::removalQuestion(listing->localizedAppName()),
                        [this, listing](bool accepted) {
                            if (accepted)
                                removeConfirmed(listing);
                        });
}

void AppController::removeConfirmed(const AppListingPtr &listing)
{
    const QList<AppListingPtr> before = m_row->shown();
    switch (m_catalogue->hide(listing)) {
    case Catalogue::HideOutcome::Hidden:
        break;
    case Catalogue::HideOutcome::NotSaved:
        reportNotSaved();
        return;
    case Catalogue::HideOutcome::NoIdentifier:
        // Not asked about: removeAppAtIndex said so instead.
        return;
    }
    m_row->bridge(m_catalogue->apps());
    m_row->setSelected(CatalogueChanges::selectionAfterRemoval(before, int(before.indexOf(listing)),
                                                               m_row->shown()));
}

void AppController::showAppList()
{
    if (!m_catalogue->isLoaded())
        return;
    HiddenAppsSheet::showOn(m_window.get(), m_catalogue->hiddenAppsList(),
                            [this](const std::optional<HiddenAppsList> &list) {
                                if (list)
                                    hideAppListOK(*list);
                            });
}

void AppController::hideAppListOK(const HiddenAppsList &list)
{
    if (!m_catalogue->applyHiddenApps(list))
        reportNotSaved();
}

void AppController::showChangedList()
{
    const int selected = m_row->selected();
    m_row->bridge(m_catalogue->apps());
    const AppListingPtr current = m_row->current();
    const CatalogueChanges::HidingSelection next = CatalogueChanges::selectionAfterHiding(
        selected, m_row->shown(), current ? current->localizedAppName() : QString());
    // The panel follows unless the same application is still selected.
    if (next.moveSelection)
        m_row->setSelected(next.index);
}

void AppController::reportNotSaved()
{
    m_window->showSheet(CatalogueSheets::notSaved(m_defaults->filePath()));
}

void AppController::applicationActivated()
{
    m_selection->refreshRunning();
}
