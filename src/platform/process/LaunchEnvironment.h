#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <functional>

// The environment an application is started with. Programs written for this platform read the
// language from -AppleLanguages or their stored preference; ordinary Linux programs read
// gettext's LANGUAGE list, so the chosen language goes there too.
namespace LaunchEnvironment {

// A language code as gettext names it in LANGUAGE: "en-GB" -> "en_GB", "French" -> "fr",
// "zh-Hant" -> "zh_TW", "sr-Latn" -> "sr@latin".
QString gettextLanguage(const QString &code);

// A locale's name without its codeset: "de_DE.UTF-8" -> "de_DE", "ca_ES.UTF-8@valencia" ->
// "ca_ES@valencia".
QString withoutCodeset(const QString &locale);

// The user's messages locale: LC_ALL, else LC_MESSAGES, else LANG; empty when none is set.
QString messagesLocale(const QProcessEnvironment &environment);

// The environment of an application started in `language` (a language code; empty: the user's
// own environment, unchanged). LANGUAGE gets the language first, then the user's languages
// without it (LANGUAGE, else the messages locale's language). gettext ignores LANGUAGE under the
// C or POSIX locale: then the messages locale, and the character set it converts messages to
// when that is C too, become `utf8Locale` (an existing UTF-8 locale; nothing changes when it is
// empty). A locale missing on this machine leaves a program in C altogether: then LC_ALL
// becomes `utf8Locale`. `localeExists` tells whether a locale is installed.
QProcessEnvironment forLanguage(const QProcessEnvironment &user, const QString &language,
                                const QString &utf8Locale,
                                const std::function<bool(const QString &)> &localeExists);

// The same with this machine's locales, for a start the user asked for now: with the activation
// variables of withActivation.
QProcessEnvironment forLanguage(const QProcessEnvironment &user, const QString &language);

// The startup notification id of a start by `program` (process `pid` on `host`) at the X
// server's `time`: "<program>-<pid>-<host>-_TIME<time>". The _TIME part lets the window manager
// give the new window the focus the user asked for.
QString startupId(const QString &program, qint64 pid, const QString &host, quint32 time);

// `environment` for an application the user starts now: DESKTOP_STARTUP_ID set to `startupId`
// (X11) and XDG_ACTIVATION_TOKEN to `activationToken` (Wayland) where given. Values Vexilo itself
// was started with are dropped: they were meant for Vexilo's own window.
QProcessEnvironment withActivation(QProcessEnvironment environment, const QString &startupId,
                                   const QString &activationToken);
// The locale that names `language` for programs that pick their language from the locale's
// name (wxWidgets): an installed one of the language if there is one ("fr" -> "fr_FR.UTF-8",
// "sr@latin" -> "sr_RS.UTF-8@latin", the likely region added), else that name all the same,
// since such programs read the name even when the C library cannot load it.
QString localeName(const QString &language,
                   const std::function<bool(const QString &)> &localeExists);

// `child` (an environment forLanguage made) with its messages locale set to localeName: LC_ALL,
// which would outrank it, is handed on as LANG. gettext programs would lose LANGUAGE under a
// locale the machine lacks: only programs that read the locale get this.
QProcessEnvironment withMessagesLocale(const QProcessEnvironment &child, const QString &language,
                                       const std::function<bool(const QString &)> &localeExists);

// Whether the C library can load this locale.
bool localeExists(const QString &name);
// The first UTF-8 locale that exists among C.UTF-8 and a few common ones; empty when none does.
QString existingUtf8Locale();

} // namespace LaunchEnvironment
