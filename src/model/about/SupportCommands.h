#pragma once

#include "about/DonationReminder.h"
#include "text/SheetText.h"

#include <QByteArray>
#include <QDateTime>
#include <functional>
#include <memory>

class UserDefaults;

// The help, feedback and donation commands and the donation reminder. The URLs leave through
// an opener and the reminder's question through an asker, so that both can be stood in for.
class SupportCommands {
public:
    // Hands an encoded URL to the user's program for it; `done` hears whether a program took it.
    using UrlOpener =
        std::function<void(const QByteArray &encodedUrl, std::function<void(bool opened)> done)>;
    // When no program took an address: the help page (a local file) is shown inside Vexilo,
    // and the mail and donation addresses are said in a sheet to copy them from.
    using HelpShower = std::function<void(const QString &helpFile)>;
    using FailureReporter = std::function<void(const SheetText &text)>;
    // Shows the reminder and waits for the answer: true for "Donate Now".
    using DonationAsker = std::function<bool(const DonationReminder::Texts &texts)>;

    // Opens URLs through the desktop until told otherwise.
    SupportCommands(QString mainBundlePath, std::shared_ptr<UserDefaults> defaults);

    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    void setFallbacks(HelpShower showHelp, FailureReporter report)
    {
        m_showHelpInside = std::move(showHelp);
        m_reportFailure = std::move(report);
    }

    // Vexilo's help page in the user's language; nothing happens when there is none.
    void showHelp() const;
    void sendFeedback() const;
    void donate() const;

    // Run once per start, after the start has been counted: asks when the reminder is due,
    // opens the donation page on "Donate Now", and records that the reminder was shown
    // whatever the answer. Returns whether it was shown.
    bool remindOfDonationIfDue(const QDateTime &now, const DonationAsker &ask) const;

private:
    QString m_mainBundlePath;
    std::shared_ptr<UserDefaults> m_defaults;
    UrlOpener m_openUrl;
    HelpShower m_showHelpInside;
    FailureReporter m_reportFailure;
};
