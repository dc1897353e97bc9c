#include "SupportLinks.h"

#include "platform/bundle/Bundle.h"

#include <QUrl>

namespace SupportLinks {

QString feedbackAddress()
{
    return QStringLiteral("feedback@vexilo.org");
}

QByteArray feedbackUrl()
{
    return "mailto:" + feedbackAddress().toLatin1();
}

QByteArray donationUrl()
{
    // Written out whole: a URL class would decode "%2d" and "%40" on the way.
    return QByteArrayLiteral("https://www.paypal.com/cgi-bin/webscr"
                             "?cmd=_donations"
                             "&business=donations%40vexilo.org"
                             "&item_name=Donation%20to%20support%20Vexilo"
                             "&page_style=PayPal"
                             "&no_shipping=1"
                             "&no_note=1"
                             "&cn=Any%20Comments"
                             "&tax=0"
                             "&currency_code=EUR"
                             "&bn=PP%2dDonationsBF"
                             "&charset=UTF%2d8");
}

QByteArray helpPageUrl(const QString &mainBundlePath, const QStringList &preferredLanguages)
{
    const auto bundle = Bundle::bundleWithPath(mainBundlePath);
    if (!bundle)
        return {};
    const QString page =
        bundle->pathForResource(QStringLiteral("help"), QStringLiteral("html"), preferredLanguages);
    return page.isEmpty() ? QByteArray() : QUrl::fromLocalFile(page).toEncoded();
}

} // namespace SupportLinks
