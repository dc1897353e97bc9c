#include "SupportCommands.h"

#include "about/SupportLinks.h"
#include "catalogue/DefaultsKeys.h"
#include "platform/locale/LanguageNames.h"
#include "platform/preferences/UserDefaults.h"
#include "platform/x11/Desktop.h"
#include "text/Texts.h"

#include <QUrl>

SupportCommands::SupportCommands(QString mainBundlePath, std::shared_ptr<UserDefaults> defaults)
    : m_mainBundlePath(std::move(mainBundlePath)), m_defaults(std::move(defaults)),
      m_openUrl([](const QByteArray &url, std::function<void(bool)> done) {
          Desktop::openUrl(url, std::move(done));
      })
{
}

void SupportCommands::showHelp() const
{
    const QByteArray page =
        SupportLinks::helpPageUrl(m_mainBundlePath, LanguageNames::preferredLanguages());
    if (page.isEmpty())
        return;
    m_openUrl(page, [page, show = m_showHelpInside](bool opened) {
        if (!opened && show)
            show(QUrl::fromEncoded(page).toLocalFile());
    });
}

void SupportCommands::sendFeedback() const
{
    m_openUrl(SupportLinks::feedbackUrl(), [report = m_reportFailure](bool opened) {
        if (!opened && report)
            report({Vexilo::tr("Vexilo could not open your mail program."),
                    formatText(Vexilo::tr("Please write to %@ with the mail program you use. "
                                          "You can copy the address from here."),
                               {SupportLinks::feedbackAddress()}),
                    false});
    });
}

void SupportCommands::donate() const
{
    m_openUrl(SupportLinks::donationUrl(), [report = m_reportFailure](bool opened) {
        if (!opened && report)
            report({Vexilo::tr("Vexilo could not open your web browser."),
                    formatText(Vexilo::tr("To donate, open this address in a web browser. You "
                                          "can copy it from here:\n%@"),
                               {QString::fromLatin1(SupportLinks::donationUrl())}),
                    false});
    });
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
