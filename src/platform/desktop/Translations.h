#pragma once

#include "platform/desktop/DesktopEntries.h"

#include <QString>
#include <QStringList>

// Which languages a program of the application menu has translations for, from where programs
// keep them: gettext catalogues of its text domain (<locale folder>/<lang>/LC_MESSAGES/
// <domain>.mo), Qt catalogues (<name>_<lang>.qm in the program's data folders), Chromium-style
// locales/<lang>.pak beside the executable, and a Flatpak application's locale folders and
// .Locale extension. The folders' listings are kept for the run, as they are asked again.
namespace Translations {

struct Found {
    // Language codes, one per language: a catalogue's own name for gettext and Qt ("pt_BR",
    // "sr@latin", "ca@valencia", as LANGUAGE takes it back), Chromium's for .pak files
    // ("pt-BR").
    QStringList codes;
    // The program reads locales/<lang>.pak: it takes --lang=<code> too.
    bool chromium = false;
    // The language the program is written in, added to `codes` when it has no catalogue of its
    // own: English for gettext and Qt programs with translations.
    QString untranslated;
};

// Every kind of translation the application has, looked for with the folders of `setup`; when
// none is found where its names point, the catalogues its Debian package installed.
Found find(const DesktopApplication &app, const DesktopEntries::Setup &setup);

// The text domains an application's catalogues may be named by: the declared one first, then
// names derived from its desktop-file ID and its program (looked at when the declared one has no
// catalogue).
QStringList gettextDomains(const DesktopApplication &app);
// The language of a Qt catalogue's file name ("featherpad_pt_BR.qm" -> "pt_BR"); with a
// `prefix`, only files named <prefix>_<lang>.qm count. Empty when it names none.
QString qmLanguage(const QString &fileName, const QString &prefix = QString());
// The language of a Chromium locale file ("en-US.pak" -> "en-US"); empty when none.
QString pakLanguage(const QString &fileName);
// A name that is a language code as catalogues' folders and files use them.
bool isLanguageCode(const QString &name);
// A catalogue folder's or locale's name as a code the language list names: the name itself,
// without a codeset ("sr_RS.UTF-8@latin" -> "sr_RS@latin").
QString fromGettext(const QString &name);
// The codes without repeats of one language in other spellings ("sr@Latn" beside "sr@latin",
// "iw" beside "he"), each name once; gettext's lower-case modifier is kept.
QStringList distinctLanguages(const QStringList &codes);

} // namespace Translations
