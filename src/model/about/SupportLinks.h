#pragma once

#include <QByteArray>
#include <QStringList>

// Where the help, feedback and donation commands lead, as encoded URLs: the donation page's
// query must reach the payment service exactly as written.
namespace SupportLinks {

// The maker's feedback address.
QString feedbackAddress();
// A new mail message to the maker, with no subject and no body.
QByteArray feedbackUrl();

// The payment service's donation page, its parameters in order and encoded as the service
// expects them.
QByteArray donationUrl();

// help.html of the bundle in the first of the preferred languages the bundle has (falling back
// as the bundle's localisations do); empty when there is no such page.
QByteArray helpPageUrl(const QString &mainBundlePath, const QStringList &preferredLanguages);

} // namespace SupportLinks
