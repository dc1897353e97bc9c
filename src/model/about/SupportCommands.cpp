#include "SupportCommands.h"

#include "about/SupportLinks.h"
#include "catalogue/DefaultsKeys.h"
#include "platform/locale/LanguageNames.h"
#include "platform/preferences/UserDefaults.h"
#include "platform/x11/Desktop.h"

SupportCommands::SupportCommands(QString mainBundlePath, std::shared_ptr<UserDefaults> defaults)
    : m_mainBundlePath(std::move(mainBundlePath)), m_defaults(std::move(defaults)),
      m_openUrl([](const QByteArray &url) { Desktop::openUrl(url); })
{
}

void SupportCommands::showHelp() const
{
    const QByteArray page =
        SupportLinks::helpPageUrl(m_mainBundlePath, LanguageNames::preferredLanguages());
    if (!page.isEmpty())
        m_openUrl(page);
}

void SupportCommands::sendFeedback() const
{
    m_openUrl(SupportLinks::feedbackUrl());
}

void SupportCommands::donate() const
{
    m_openUrl(SupportLinks::donationUrl());
}

bool SupportCommands::remindOfDonationIfDue(const QDateTime &now, const DonationAsker &ask) const
{
    if (!DonationReminder::isDue(m_defaults->boolForKey(DefaultsKeys::ShownDonateBox),
                                 m_defaults->dateForKey(DefaultsKeys::InstallDate), now,
                                 m_defaults->integerForKey(DefaultsKeys::NumUses)))
        return false;
    if (ask(DonationReminder::texts()))
        donate();
    m_defaults->setBool(DefaultsKeys::ShownDonateBox, true);
    return true;
}
