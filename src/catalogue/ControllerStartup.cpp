// Start-up and catalogue loading of Controller.
#include "Bundle.h"
#include "CatalogueLoader.h"
#include "Controller.h"
#include "DefaultsKeys.h"
#include "UserDefaults.h"
#include "Workspace.h"
#include "browser/AppBrowseController.h"
#include "window/LanguagePopUp.h"
#include "window/RtfReader.h"
#include "window/UiText.h"
#include "window/WindowPlacement.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QThread>

namespace {

// The first Mac OS version that is not Leopard (10.6.0).
constexpr quint32 kSnowLeopard = 0x1060;

} // namespace

Controller::Controller(std::shared_ptr<const Platform> platform, QObject *parent)
    : QObject(parent), m_platform(std::move(platform))
{
    const auto mainBundle = Bundle::bundleWithPath(m_platform->mainBundlePath);
    QString domain = mainBundle ? mainBundle->bundleIdentifier() : QString();
    if (domain.isEmpty())
        domain = QStringLiteral("org.vexilo.Vexilo");
    m_defaults = std::make_unique<UserDefaults>(m_platform->preferences, domain);
}

Controller::~Controller()
{
    // The load works on this object: it must end before the object does.
    if (m_operationQueue) {
        m_operationQueue->wait();
        delete m_operationQueue;
    }
}

void Controller::setProgress(double progress)
{
    m_progress.store(progress);
    emit progressChanged(progress);
}

void Controller::setMaxValue(double maxValue)
{
    m_maxValue.store(maxValue);
    emit maxValueChanged(maxValue);
}

void Controller::setCurrentListing(const AppListingPtr &listing)
{
    m_currentListing = listing ? listing->copy() : nullptr;
}

void Controller::applicationWillFinishLaunching()
{
    centreOnScreen(window);
    if (nameLabel)
        nameLabel->setText(QString());
    if (langCountField)
        langCountField->setText(QString());
    if (launchButton)
        launchButton->setEnabled(false);
    if (menu) {
        menu->removeAllItems();
        menu->setEnabled(false);
    }
    setProgress(0.0);
    if (window) {
        window->show();
        window->raise();
        window->activateWindow();
    }

    m_defaults->registerDefaults({
        {DefaultsKeys::ExtraApps, QVariantList()},
        {DefaultsKeys::HiddenApps, QVariantList()},
        {DefaultsKeys::NumUses, 0},
        {DefaultsKeys::ShownDonateBox, false},
    });
    if (!m_defaults->objectForKey(DefaultsKeys::InstallDate).isValid())
        m_defaults->setObject(DefaultsKeys::InstallDate, QDateTime::currentDateTimeUtc());

    m_isLeopard = m_platform->systemVersion && *m_platform->systemVersion < kSnowLeopard;
}

void Controller::applicationDidFinishLaunching()
{
    // One worker runs the load and then its completion, which therefore starts only after the
    // load has finished.
    m_operationQueue = QThread::create([this] {
        loadAppsWork();
        appLoadComplete();
    });
    m_operationQueue->setObjectName(QStringLiteral("CatalogueLoader"));
    m_operationQueue->start();
}

void Controller::loadAppsWork()
{
    CatalogueLoader::Catalogue catalogue = CatalogueLoader::load(
        m_platform, *m_defaults,
        {[this](double v) { setMaxValue(v); }, [this](double v) { setProgress(v); }});
    setAllApps(catalogue.allApps);
    setApps(catalogue.apps);
}

void Controller::appLoadComplete()
{
    QMetaObject::invokeMethod(this, "loaded", Qt::QueuedConnection);
}

void Controller::loaded()
{
    const auto mainBundle = Bundle::bundleWithPath(m_platform->mainBundlePath);
    const QVariantMap localized =
        mainBundle ? mainBundle->localizedInfoDictionary() : QVariantMap();
    setMarketingLine(localized.value(QStringLiteral("PromoLine")).toString());
    const QString versionFormat = localized.value(QStringLiteral("VersionString")).toString();
    const QString bundleVersion =
        mainBundle
            ? mainBundle->infoDictionary().value(QStringLiteral("CFBundleVersion")).toString()
            : QString();
    setVersion(versionFormat.isEmpty() ? QString() : formatText(versionFormat, {bundleVersion}));

    const QString creditsPath =
        mainBundle ? mainBundle->pathForResource(QStringLiteral("Credits"), QStringLiteral("rtf"))
                   : QString();
    setCredits(RtfReader::htmlFromFile(creditsPath).value_or(QString()));
    if (creditsField) {
        creditsField->setHtml(m_credits);
        creditsField->moveCursor(QTextCursor::Start);
    }
    setEditable(false);
    if (creditsField)
        creditsField->setReadOnly(!m_editable);
    emit aboutTextsChanged();

    if (progBar)
        progBar->hide();
    m_catalogueLoaded = true;

    if (!m_apps.isEmpty())
        clickedListing(m_apps.first());
    else
        emptySelection();
    if (browser) {
        browser->bridge();
        browser->setSelected(0);
    }

    m_defaults->setInteger(DefaultsKeys::NumUses,
                           m_defaults->integerForKey(DefaultsKeys::NumUses) + 1);
    qInfo().noquote() << QStringLiteral("Vexilo: catalogue loaded (%1 of %2 applications shown).")
                             .arg(m_apps.size())
                             .arg(m_allApps.size());
    emit catalogueLoadedSignal(int(m_apps.size()));
    showDonationReminderIfDue();
}

bool Controller::stringIsValidIdentifier(const QString &string) const
{
    return !m_platform->workspace->absolutePathForAppBundleWithIdentifier(string).isEmpty();
}

void Controller::applicationWillBecomeActive()
{
    if (openVersionsField && m_currentListing)
        openVersionsField->setVisible(isAppRunning(m_currentListing));
}
