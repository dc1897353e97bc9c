// Running instances, launching and the always-open setting of Controller.
#include "Bundle.h"
#include "InstanceLanguage.h"
#include "LanguageNames.h"
#include "Processes.h"
#include "catalogue/Controller.h"
#include "window/UiText.h"

namespace {

QList<RunningApplication> instancesOf(const Processes &processes, const QString &identifier)
{
    QList<RunningApplication> found;
    if (identifier.isEmpty())
        return found;
    for (const RunningApplication &app : processes.launchedApplications()) {
        if (app.bundleIdentifier == identifier)
            found.append(app);
    }
    return found;
}

} // namespace

bool Controller::isAppRunning(const AppListingPtr &listing) const
{
    if (!listing)
        return false;
    // The identifier the bundle declares now, not the one read when the listing was made.
    const auto bundle = Bundle::bundleWithPath(listing->path());
    if (!bundle)
        return false;
    return !instancesOf(*m_platform->processes, bundle->bundleIdentifier()).isEmpty();
}

QString Controller::currentInstanceLanguageString() const
{
    if (!m_currentListing)
        return {};
    const QList<RunningApplication> running =
        instancesOf(*m_platform->processes, m_currentListing->identifier());
    if (running.isEmpty())
        return {};
    const QByteArray report =
        m_platform->processes->commandLineReport(running.first().processIdentifier);

    QString name;
    if (const auto code = InstanceLanguage::languageArgument(report)) {
        name = InstanceLanguage::nameForArgument(*code);
    } else if (m_currentListing->hasAutoLang()) {
        name = m_currentListing->localizedAutoLang();
    } else {
        name = InstanceLanguage::nameForOwnChoice(LanguageNames::preferredLanguages(),
                                                  m_currentListing->langs());
    }
    if (name.isEmpty())
        return {};
    return formatText(uiText("Currently open in %@."), {name});
}

void Controller::launch(QObject *sender) {}

void Controller::persistencePrefClicked(QObject *sender) {}
