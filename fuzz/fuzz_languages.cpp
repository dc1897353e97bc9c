// An application's language list from its localisation folder names and its
// CFBundleLocalizations values (both anything a bundle's author wrote), the order of their
// display names, and the entry a user's language picks among them.
//
// Input: lines of folder names, then after a NUL byte lines of declared values, then after
// another NUL byte the user's language.

#include "language/LanguageDisplay.h"
#include "language/LanguageList.h"
#include "language/StoredLanguage.h"
#include "platform/locale/LanguageNames.h"
#include "platform/locale/LocalizationMatch.h"

#include <QSet>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> parts = bytes.split('\0');
    const QStringList folders = QString::fromUtf8(parts.value(0)).split(QLatin1Char('\n'));
    const QStringList declared = QString::fromUtf8(parts.value(1)).split(QLatin1Char('\n'));
    const QString preferred = QString::fromUtf8(parts.value(2));

    const QStringList langs = LanguageList::languages(folders, QVariant(declared));
    // Only names it was given, each once, never Base.
    const QSet<QString> given(folders.cbegin(), folders.cend());
    const QSet<QString> alsoGiven(declared.cbegin(), declared.cend());
    QSet<QString> seen;
    for (const QString &lang : langs) {
        if (lang.isEmpty() || (!given.contains(lang) && !alsoGiven.contains(lang)) ||
            lang.compare(QLatin1String("Base"), Qt::CaseInsensitive) == 0 || seen.contains(lang))
            std::abort();
        seen.insert(lang);
        LanguageDisplay::name(lang);
        LanguageNames::canonicalLocaleIdentifier(lang);
        LanguageNames::displayNameForLanguageCode(lang);
    }

    const QStringList sorted = LanguageList::sortedByDisplayName(langs);
    if (QSet<QString>(sorted.cbegin(), sorted.cend()) != seen || sorted.size() != langs.size())
        std::abort();

    const QString match = LocalizationMatch::firstMatch(folders, {preferred, QStringLiteral("en")});
    if (!match.isEmpty() && !folders.contains(match))
        std::abort();
    const int index = StoredLanguage::indexInLanguages(preferred, sorted);
    if (index < -1 || index >= sorted.size())
        std::abort();
    return 0;
}
