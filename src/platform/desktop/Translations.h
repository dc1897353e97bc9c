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
    // Language codes: gettext's spelling for catalogues ("pt_BR"; "sr@latin" as "sr_Latn"),
    // Chromium's for .pak files ("pt-BR").
    QStringList codes;
    // The program reads locales/<lang>.pak: it takes --lang=<code> too.
    bool chromium = false;
    // The language the program is written in, added to `codes` when it has no catalogue of its
    // own: English for gettext and Qt programs with translations.
    QString untranslated;
};

// Every kind of translation the application has, looked for with the folders of `setup`.
Found find(const DesktopApplication &app, const DesktopEntries::Setup &setup);

// The text domains an application's catalogues may be named by: the declared one alone, else
// names derived from its desktop-file ID and its program.
QStringList gettextDomains(const DesktopApplication &app);
// The language of a Qt catalogue's file name ("featherpad_pt_BR.qm" -> "pt_BR"); with a
// `prefix`, only files named <prefix>_<lang>.qm count. Empty when it names none.
QString qmLanguage(const QString &fileName, const QString &prefix = QString());
// The language of a Chromium locale file ("en-US.pak" -> "en-US"); empty when none.
QString pakLanguage(const QString &fileName);
// A name that is a language code as catalogues' folders and files use them.
bool isLanguageCode(const QString &name);
// A catalogue folder's name as a code the language list names: "sr@latin" -> "sr_Latn".
QString fromGettext(const QString &name);

} // namespace Translations
