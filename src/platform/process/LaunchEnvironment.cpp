#include "platform/process/LaunchEnvironment.h"

#include "platform/locale/LanguageCodes.h"
#include "platform/locale/LocaleName.h"
#include "platform/x11/Desktop.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>
#include <algorithm>
#include <clocale>
#include <locale.h>
#include <unicode/uloc.h>

namespace {

const QString kLanguage = QStringLiteral("LANGUAGE");
const QString kAll = QStringLiteral("LC_ALL");
const QString kMessages = QStringLiteral("LC_MESSAGES");
const QString kCharacters = QStringLiteral("LC_CTYPE");
const QString kLang = QStringLiteral("LANG");

// A locale name as the C library takes it: the first of the variables that is set and not empty.
QString effective(const QProcessEnvironment &environment, const QString &category)
{
    for (const QString &name : {kAll, category, kLang}) {
        const QString value = environment.value(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

// Whether a locale the environment names is missing on this machine: LC_ALL alone when it is
// set, else any category and LANG.
bool lacksALocale(const QProcessEnvironment &environment,
                  const std::function<bool(const QString &)> &localeExists)
{
    const auto missing = [&](const QString &locale) {
        return !LocaleName::namesNoLanguage(locale) && !localeExists(locale);
    };
    if (!environment.value(kAll).isEmpty())
        return missing(environment.value(kAll));
    // Only the categories: LC_TERMINAL and the like name no locale.
    return std::any_of(
        std::cbegin(LocaleName::kCategoryVariables), std::cend(LocaleName::kCategoryVariables),
        [&](const char *name) { return missing(environment.value(QString::fromLatin1(name))); });
}

// A locale missing on this machine still names the user's language.
QStringList userLanguages(const QProcessEnvironment &user)
{
    QStringList languages = user.value(kLanguage).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (languages.isEmpty()) {
        // C.UTF-8 is the C locale in UTF-8: it names no language.
        const QString locale =
            LaunchEnvironment::withoutCodeset(LaunchEnvironment::messagesLocale(user));
        if (!LocaleName::namesNoLanguage(locale))
            languages.append(locale);
    }
    return languages;
}

} // namespace

namespace LaunchEnvironment {

QString gettextLanguage(const QString &code)
{
    const QString classic = LanguageCodes::codeForClassicName(code);
    QStringList parts = (classic.isEmpty() ? code : classic)
                            .split(QRegularExpression(QStringLiteral("[-_]")), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    // gettext knows no script subtags: Chinese catalogues are named by region, other scripts by
    // a modifier ("be@latin", "uz@cyrillic", "en@shaw"), which gettext drops again to find
    // the plain language's catalogue when there is none for it.
    QString modifier;
    if (parts.size() >= 2 && parts.at(1).size() == 4 && !parts.at(1).contains(QLatin1Char('@'))) {
        const QString script = parts.takeAt(1);
        static const QHash<QString, QString> modifiers{
            {QStringLiteral("Latn"), QStringLiteral("@latin")},
            {QStringLiteral("Cyrl"), QStringLiteral("@cyrillic")},
            {QStringLiteral("Deva"), QStringLiteral("@devanagari")},
            {QStringLiteral("Arab"), QStringLiteral("@arabic")}};
        if (parts.size() == 1 && parts.first() == QLatin1String("zh"))
            parts.append(script == QLatin1String("Hant") ? QStringLiteral("TW")
                                                         : QStringLiteral("CN"));
        else if (parts.first() != QLatin1String("zh"))
            modifier = modifiers.value(script, QLatin1Char('@') + script.toLower());
    }
    return parts.join(QLatin1Char('_')) + modifier;
}

QString withoutCodeset(const QString &locale)
{
    const qsizetype dot = locale.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return locale;
    const qsizetype at = locale.indexOf(QLatin1Char('@'), dot);
    return locale.left(dot) + (at < 0 ? QString() : locale.mid(at));
}

QString messagesLocale(const QProcessEnvironment &environment)
{
    return effective(environment, kMessages);
}

QProcessEnvironment forLanguage(const QProcessEnvironment &user, const QString &language,
                                const QString &utf8Locale,
                                const std::function<bool(const QString &)> &localeExists)
{
    const QString first = gettextLanguage(language);
    if (first.isEmpty())
        return user;
    QProcessEnvironment child = user;
    QStringList languages = userLanguages(user);
    languages.removeAll(first);
    languages.prepend(first);
    child.insert(kLanguage, languages.join(QLatin1Char(':')));

    if (utf8Locale.isEmpty())
        return child;
    // A program sets all its categories at once: when one names a locale this machine lacks,
    // they all stay C, and only LC_ALL gives it UTF-8 messages.
    if (lacksALocale(user, localeExists)) {
        child.insert(kAll, utf8Locale);
        return child;
    }
    if (!LocaleName::isPlainC(messagesLocale(user)))
        return child;
    // C.UTF-8 is the C locale with UTF-8 text; LC_ALL outranks every category.
    if (!user.value(kAll).isEmpty()) {
        child.insert(kAll, utf8Locale);
        return child;
    }
    child.insert(kMessages, utf8Locale);
    // gettext converts messages to the character set of LC_CTYPE: under C, accented letters
    // would come out as question marks.
    if (LocaleName::isPlainC(effective(user, kCharacters)))
        child.insert(kCharacters, utf8Locale);
    return child;
}

QProcessEnvironment forLanguage(const QProcessEnvironment &user, const QString &language)
{
    static const QString utf8 = existingUtf8Locale();
    const quint32 time = Desktop::serverTime();
    // Qt 6.4 offers no way to ask the compositor for an xdg-activation token: none on Wayland.
    return withActivation(forLanguage(user, language, utf8, localeExists),
                          time ? startupId(QStringLiteral("vexilo"),
                                           QCoreApplication::applicationPid(),
                                           QSysInfo::machineHostName(), time)
                               : QString(),
                          QString());
}

QString startupId(const QString &program, qint64 pid, const QString &host, quint32 time)
{
    return QStringLiteral("%1-%2-%3-_TIME%4").arg(program).arg(pid).arg(host).arg(time);
}

QProcessEnvironment withActivation(QProcessEnvironment environment, const QString &startupId,
                                   const QString &activationToken)
{
    const QString x11 = QStringLiteral("DESKTOP_STARTUP_ID");
    const QString wayland = QStringLiteral("XDG_ACTIVATION_TOKEN");
    environment.remove(x11);
    environment.remove(wayland);
    if (!startupId.isEmpty())
        environment.insert(x11, startupId);
    if (!activationToken.isEmpty())
        environment.insert(wayland, activationToken);
    return environment;
}

QString localeName(const QString &language,
                   const std::function<bool(const QString &)> &localeExists)
{
    const QString gettext = gettextLanguage(language);
    const qsizetype at = gettext.indexOf(QLatin1Char('@'));
    const QString modifier = at < 0 ? QString() : gettext.mid(at);
    QString base = gettext.left(at < 0 ? gettext.size() : at);
    if (base.isEmpty())
        return {};
    if (!base.contains(QLatin1Char('_'))) {
        char full[ULOC_FULLNAME_CAPACITY];
        UErrorCode status = U_ZERO_ERROR;
        const QByteArray bytes = base.toLatin1();
        uloc_addLikelySubtags(bytes.constData(), full, ULOC_FULLNAME_CAPACITY, &status);
        char region[ULOC_COUNTRY_CAPACITY];
        const int32_t length =
            U_SUCCESS(status) ? uloc_getCountry(full, region, ULOC_COUNTRY_CAPACITY, &status) : 0;
        if (U_SUCCESS(status) && length > 0)
            base += QLatin1Char('_') + QString::fromLatin1(region, length);
    }
    for (const char *codeset : {".UTF-8", ".utf8"}) {
        const QString name = base + QLatin1String(codeset) + modifier;
        if (localeExists(name))
            return name;
    }
    return base + QStringLiteral(".UTF-8") + modifier;
}

QProcessEnvironment withMessagesLocale(const QProcessEnvironment &child, const QString &language,
                                       const std::function<bool(const QString &)> &localeExists)
{
    const QString name = localeName(language, localeExists);
    if (name.isEmpty())
        return child;
    QProcessEnvironment out = child;
    if (out.contains(kAll)) {
        out.insert(kLang, out.value(kAll));
        out.remove(kAll);
    }
    out.insert(kMessages, name);
    return out;
}

bool localeExists(const QString &name)
{
    if (name.isEmpty())
        return false;
    // Loads the locale's messages category without touching the process's own locale.
    const locale_t loaded = ::newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK,
                                        name.toLocal8Bit().constData(), locale_t(nullptr));
    if (loaded == locale_t(nullptr))
        return false;
    ::freelocale(loaded);
    return true;
}

QString existingUtf8Locale()
{
    for (const char *name : {"C.UTF-8", "C.utf8", "en_US.UTF-8", "en_GB.UTF-8"}) {
        if (localeExists(QString::fromLatin1(name)))
            return QString::fromLatin1(name);
    }
    return {};
}

} // namespace LaunchEnvironment
