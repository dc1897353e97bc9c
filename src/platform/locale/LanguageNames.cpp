#include "platform/locale/LanguageNames.h"

#include "platform/locale/LanguageCodes.h"
#include "platform/locale/LocaleName.h"

#include <QByteArray>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <unicode/uldnames.h>
#include <unicode/uloc.h>
#include <unicode/ures.h>
#include <unicode/uscript.h>

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

// "sr_RS@latin" -> {"sr_RS", "latin"}; no modifier where '@' starts ICU's keywords.
std::pair<QString, QString> splitModifier(const QString &code)
{
    const qsizetype at = code.indexOf(QLatin1Char('@'));
    if (at <= 0)
        return {code, {}};
    const QString modifier = code.mid(at + 1);
    const bool plain =
        !modifier.isEmpty() && modifier.size() < 32 &&
        std::all_of(modifier.cbegin(), modifier.cend(), [](QChar c) {
            return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        });
    return plain ? std::pair{code.left(at), modifier} : std::pair{code, QString()};
}

// The script a modifier names by its name or code ("latin", "shaw"); empty for others.
QString scriptOf(const QString &modifier)
{
    const QByteArray bytes = modifier.toLatin1();
    UScriptCode codes[4];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t count = uscript_getCode(bytes.constData(), codes, 4, &status);
    if (U_FAILURE(status) || count != 1)
        return {};
    // uscript_getCode takes locale names too ("ja"): only a script's own names count.
    const QString code = QString::fromLatin1(uscript_getShortName(codes[0]));
    const QString name = QString::fromLatin1(uscript_getName(codes[0]));
    if (modifier.compare(code, Qt::CaseInsensitive) != 0 &&
        modifier.compare(name, Qt::CaseInsensitive) != 0)
        return {};
    return code;
}

// ICU's pattern for a name with details in the display language (its language names data):
// "{0} ({1})" in most.
QString displayPattern(const QString &displayLocale)
{
    thread_local std::map<std::string, QString> cache;
    const std::string key = displayLocale.toStdString();
    if (const auto it = cache.find(key); it != cache.end())
        return it->second;
    QString pattern = QStringLiteral("{0} ({1})");
    UErrorCode status = U_ZERO_ERROR;
    UResourceBundle *bundle = ures_open(U_ICUDATA_NAME "-lang", key.c_str(), &status);
    UResourceBundle *group = ures_getByKey(bundle, "localeDisplayPattern", nullptr, &status);
    int32_t length = 0;
    const UChar *text = ures_getStringByKey(group, "pattern", &length, &status);
    if (U_SUCCESS(status) && length > 0)
        pattern = QString::fromUtf16(reinterpret_cast<const char16_t *>(text), length);
    ures_close(group);
    ures_close(bundle);
    cache.emplace(key, pattern);
    return pattern;
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

// The first of LC_ALL, the category's own variable and LANG that is set, as the C library
// decides a category's locale.
QString localeFromEnvironment(const char *category)
{
    for (const char *variable : {"LC_ALL", category, "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (value.isEmpty())
            continue;
        const QString identifier = stripCodesetAndModifier(value);
        return LocaleName::isPlainC(identifier) ? QStringLiteral("en") : identifier;
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
        if (LocaleName::isPlainC(code) || languages.contains(code))
            continue;
        languages.append(code);
    }
    const QString current = currentLocaleIdentifier();
    if (!languages.contains(current))
        languages.append(current);
    return languages;
}

QString icuIdentifier(const QString &code)
{
    const auto [base, modifier] = splitModifier(code);
    if (modifier.isEmpty())
        return code;
    QStringList parts = base.split(QRegularExpression(QStringLiteral("[-_]")));
    if (const QString script = scriptOf(modifier); !script.isEmpty()) {
        if (parts.size() >= 2 && parts.at(1).size() == 4)
            return code;
        parts.insert(1, script);
        return parts.join(QLatin1Char('_'));
    }
    const QString variant = modifier.toUpper();
    if (askIcu(uldn_variantDisplayName, variant, QStringLiteral("en")).isEmpty())
        return code;
    return parts.join(QLatin1Char('_')) +
           (parts.size() == 1 ? QStringLiteral("__") : QStringLiteral("_")) + variant;
}

QString displayNameForLocaleIdentifier(const QString &identifier, const QString &displayLocale)
{
    const QString icu = icuIdentifier(identifier);
    const auto [base, modifier] = splitModifier(icu);
    if (modifier.isEmpty())
        return askIcu(uldn_localeDisplayName, icu, displayLocale);
    // A modifier ICU does not know still tells this variant from the plain language.
    const QString name = askIcu(uldn_localeDisplayName, base, displayLocale);
    if (name.isEmpty())
        return {};
    const QString display =
        displayLocale.isEmpty() ? preferredLanguages().constFirst() : displayLocale;
    QString pattern = displayPattern(display);
    return pattern.replace(QLatin1String("{0}"), name).replace(QLatin1String("{1}"), modifier);
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
