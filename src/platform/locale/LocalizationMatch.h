#pragma once

#include <QString>
#include <QStringList>

// Which of an application's localisations serves a user's language, as the platform's own
// bundle lookup decides: the language's full form with its likely script ("zh_TW" is
// "zh_Hant_TW"), then its parents ("es_MX" -> "es_419", "zh_Hant_TW" -> "zh_Hant" -> "zh").
// Localisation names are taken in every form bundles use: "zh-Hant", "zh_Hant", "zh_TW",
// "zh-tw", or a classic English name such as "French".
namespace LocalizationMatch {

// The entry of `available` that serves a user who prefers `preferred`; empty when none does.
QString bestMatch(const QStringList &available, const QString &preferred);

// The match of the first of `preferredLanguages` that has one; empty when none has.
QString firstMatch(const QStringList &available, const QStringList &preferredLanguages);

} // namespace LocalizationMatch
