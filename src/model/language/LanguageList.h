#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// The languages an application offers its user, as the language pop-up lists them.
namespace LanguageList {

// The bundle's localisation folders and the languages its CFBundleLocalizations value names,
// one entry per language: Base (the interface before translation) is none; a classic folder name
// and its code ("English" and "en") are one entry, named by the code; spellings of one code
// ("zh_TW", "zh-TW") are one entry. Declared values that are not plain codes are left out.
// In code order.
QStringList languages(const QStringList &folders, const QVariant &declared);

// The codes in the order of their display names (LanguageDisplay) in the user's collation.
QStringList sortedByDisplayName(const QStringList &codes);

} // namespace LanguageList
