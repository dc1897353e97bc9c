#include "platform/locale/LanguageNames.h"

#include "platform/locale/LanguageCodes.h"

#include <QByteArray>
#include <map>
#include <memory>
#include <string>
#include <unicode/uldnames.h>
#include <unicode/uloc.h>

namespace {

struct DisplayNamesCloser {
    void operator()(ULocaleDisplayNames *names) const { uldn_close(names); }
};
using DisplayNamesPtr = std::unique_ptr<ULocaleDisplayNames, DisplayNamesCloser>;

// ULocaleDisplayNames is not safe to share between threads; listings are built on a loading
// thread while the window asks on the main thread, so each thread keeps its own.
ULocaleDisplayNames *displayNamesFor(const QString &displayLocale)
{
    thread_local std::map<std::string, DisplayNamesPtr> cache;
    const std::string key = displayLocale.toStdString();
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second.get();

    // Without substitution ICU reports "no name" instead of echoing the code back.
    UDisplayContext contexts[] = {UDISPCTX_NO_SUBSTITUTE};
    UErrorCode status = U_ZERO_ERROR;
    ULocaleDisplayNames *names = uldn_openForContext(key.c_str(), contexts, 1, &status);
    if (U_FAILURE(status)) {
        if (names)
            uldn_close(names);
        names = nullptr;
    }
    // A failed open is remembered too, so a bad display locale is not retried on every call.
    cache.emplace(key, DisplayNamesPtr(names));
    return names;
}

using NameFunction = int32_t (*)(const ULocaleDisplayNames *, const char *, UChar *, int32_t,
                                 UErrorCode *);

QString askIcu(NameFunction function, const QString &code, const QString &displayLocale)
{
    if (code.isEmpty())
        return {};
    const QByteArray codeBytes = code.toUtf8();
    // ICU reads identifiers as C strings: an embedded NUL would silently shorten the code.
    if (codeBytes.contains('\0') || codeBytes.size() >= ULOC_FULLNAME_CAPACITY)
        return {};
    ULocaleDisplayNames *names = displayNamesFor(
        displayLocale.isEmpty() ? LanguageNames::preferredLanguages().constFirst() : displayLocale);
    if (!names)
        return {};

    UChar buffer[256];
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = function(names, codeBytes.constData(), buffer, 256, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR && length > 0) {
        QString longer(length, Qt::Uninitialized);
        status = U_ZERO_ERROR;
        length = function(names, codeBytes.constData(), reinterpret_cast<UChar *>(longer.data()),
                          length, &status);
        if (U_FAILURE(status) || length <= 0)
            return {};
        longer.truncate(length);
        return longer;
    }
    if (U_FAILURE(status) || length <= 0)
        return {};
    return QString(reinterpret_cast<const QChar *>(buffer), length);
}

// "fr_FR.UTF-8@euro" -> "fr_FR"
QString stripCodesetAndModifier(QString value)
{
    const qsizetype at = value.indexOf(QLatin1Char('@'));
    if (at >= 0)
        value.truncate(at);
    const qsizetype dot = value.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        value.truncate(dot);
    return value.trimmed();
}

bool isPlainCLocale(const QString &value)
{
    return value.isEmpty() || value == QLatin1String("C") || value == QLatin1String("POSIX");
}

// The first of LC_ALL, the category's own variable and LANG that is set, as the C library
// decides a category's locale.
QString localeFromEnvironment(const char *category)
{
    for (const char *variable : {"LC_ALL", category, "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (value.isEmpty())
            continue;
        const QString identifier = stripCodesetAndModifier(value);
        return isPlainCLocale(identifier) ? QStringLiteral("en") : identifier;
    }
    return QStringLiteral("en");
}

} // namespace

namespace LanguageNames {

QString currentLocaleIdentifier()
{
    return localeFromEnvironment("LC_MESSAGES");
}

QString collationLocaleIdentifier()
{
    return localeFromEnvironment("LC_COLLATE");
}

QStringList preferredLanguages()
{
    QStringList languages;
    const QStringList entries =
        qEnvironmentVariable("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const QString code = stripCodesetAndModifier(entry);
        if (isPlainCLocale(code) || languages.contains(code))
            continue;
        languages.append(code);
    }
    const QString current = currentLocaleIdentifier();
    if (!languages.contains(current))
        languages.append(current);
    return languages;
}

QString displayNameForLocaleIdentifier(const QString &identifier, const QString &displayLocale)
{
    return askIcu(uldn_localeDisplayName, identifier, displayLocale);
}

QString displayNameForLanguageCode(const QString &code, const QString &displayLocale)
{
    // Only the language part is named ("en_GB" -> "English"): ICU's language names echo any
    // code with a region back unchanged, and preferred languages here usually carry one.
    const QByteArray bytes = code.toUtf8();
    if (bytes.isEmpty() || bytes.contains('\0') || bytes.size() >= ULOC_FULLNAME_CAPACITY)
        return {};
    char language[ULOC_LANG_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        uloc_getLanguage(bytes.constData(), language, ULOC_LANG_CAPACITY, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0)
        return {};
    const QString languageCode = QString::fromLatin1(language, length);
    const QString name = askIcu(uldn_languageDisplayName, languageCode, displayLocale);
    // ICU hands some codes back as their own name ("root").
    return name == languageCode ? QString() : name;
}

QString canonicalLocaleIdentifier(const QString &string)
{
    if (string.isEmpty())
        return {};
    const QString classic = LanguageCodes::codeForClassicName(string);
    if (!classic.isEmpty())
        return classic;

    const QByteArray bytes = string.toUtf8();
    if (bytes.contains('\0') || bytes.size() >= ULOC_FULLNAME_CAPACITY)
        return {};
    char buffer[ULOC_FULLNAME_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        uloc_canonicalize(bytes.constData(), buffer, ULOC_FULLNAME_CAPACITY, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0)
        return {};
    return QString::fromUtf8(buffer, length);
}

} // namespace LanguageNames
