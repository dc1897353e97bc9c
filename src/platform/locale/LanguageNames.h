#pragma once

#include <QString>
#include <QStringList>

// Language and locale names from the ICU locale database. "No name" is told apart from a name:
// the functions return an empty string where ICU would otherwise hand back the code itself.
namespace LanguageNames {

// The user's locale from LC_ALL, LC_MESSAGES, then LANG, as an identifier such as "fr_FR"
// ("en" for C/POSIX or nothing set).
QString currentLocaleIdentifier();

// The locale whose rules order names for the user: LC_ALL, LC_COLLATE, then LANG ("en" for
// C/POSIX or nothing set).
QString collationLocaleIdentifier();

// The user's languages in order of preference: the entries of LANGUAGE (colon-separated), then
// the current locale's identifier, without codeset or modifier, without repeats.
QStringList preferredLanguages();

// The name of `identifier` taken as a locale identifier ("fr" -> "French", "pt_BR" ->
// "Portuguese (Brazil)"), in the language of `displayLocale` (default: the user's first
// preferred language, the one Vexilo's own texts are shown in). A gettext modifier names a
// variant of its own: "sr@latin" -> "Serbian (Latin)", "ca@valencia" -> "Catalan (Valencian)",
// one ICU does not know is shown as written ("sr@ije" -> "Serbian (ije)").
// Empty when ICU knows no name for it.
QString displayNameForLocaleIdentifier(const QString &identifier,
                                       const QString &displayLocale = QString());

// The name of `code` taken as a language code only ("fr" -> "French"); empty when none.
QString displayNameForLanguageCode(const QString &code, const QString &displayLocale = QString());

// A gettext name with a modifier as ICU's identifier: a script modifier becomes the script
// ("sr_RS@latin" -> "sr_Latn_RS", "en@shaw" -> "en_Shaw"), one ICU knows as a variant the
// variant ("ca@valencia" -> "ca__VALENCIA"). Any other identifier comes back as it is; an unknown
// modifier stays ("sr@ije"). A modifier after '@' holds no '=' (that would be ICU's keywords).
QString icuIdentifier(const QString &code);

// ICU's canonical identifier, after mapping the classic English names used as folder names
// ("French" -> "fr"). Empty when the input is empty or cannot be canonicalised.
QString canonicalLocaleIdentifier(const QString &string);

} // namespace LanguageNames
