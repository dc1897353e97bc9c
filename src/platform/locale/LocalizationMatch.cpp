#include "platform/locale/LocalizationMatch.h"

#include "platform/locale/LanguageCodes.h"
#include "platform/locale/LanguageNames.h"

#include <QHash>
#include <QList>
#include <algorithm>
#include <unicode/uloc.h>
#include <unicode/ures.h>

namespace {

// A locale identifier taken apart: the subtags as written, and with ICU's likely subtags added
// ("zh_TW" is written zh/-/TW and is zh/Hant/TW in full).
struct Tag {
    QString language, script, region;             // as written
    QString fullLanguage, fullScript, fullRegion; // with the likely ones
    // A variant or gettext modifier ICU does not know as a script ("VALENCIA", "ije"): an entry
    // with one serves only users who ask for it.
    QString variant;
    bool classic = false; // written as an English name ("French")

    bool isValid() const { return !fullLanguage.isEmpty(); }
};

struct Level {
    QString language, script, region; // an empty script or region matches any

    bool operator==(const Level &) const = default;
};

using Getter = int32_t (*)(const char *, char *, int32_t, UErrorCode *);

QString subtag(Getter getter, const char *id)
{
    char buffer[ULOC_FULLNAME_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = getter(id, buffer, ULOC_FULLNAME_CAPACITY, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0)
        return {};
    return QString::fromLatin1(buffer, length);
}

bool isIdentifierCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'-';
}

Tag parse(const QString &name)
{
    Tag tag;
    QString code = LanguageCodes::codeForClassicName(name);
    tag.classic = !code.isEmpty();
    if (code.isEmpty()) {
        // "sr_RS.UTF-8@latin" as the environment writes it: the codeset does not count, a
        // modifier names a script or a variant.
        const qsizetype at = name.indexOf(QLatin1Char('@'));
        const QString modifier = at < 0 ? QString() : name.mid(at);
        code =
            LanguageNames::icuIdentifier(name.left(at).section(QLatin1Char('.'), 0, 0) + modifier);
        if (const qsizetype unknown = code.indexOf(QLatin1Char('@')); unknown >= 0) {
            tag.variant = code.mid(unknown + 1).toLower();
            code.truncate(unknown);
        }
    }
    if (code.isEmpty() || code.size() >= ULOC_FULLNAME_CAPACITY / 2 ||
        !std::all_of(code.cbegin(), code.cend(), isIdentifierCharacter))
        return tag;

    const QByteArray bytes = code.toLatin1();
    char canonical[ULOC_FULLNAME_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    int32_t length =
        uloc_canonicalize(bytes.constData(), canonical, ULOC_FULLNAME_CAPACITY, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0)
        return tag;
    tag.language = subtag(uloc_getLanguage, canonical);
    tag.script = subtag(uloc_getScript, canonical);
    tag.region = subtag(uloc_getCountry, canonical);
    if (tag.variant.isEmpty())
        tag.variant = subtag(uloc_getVariant, canonical).toLower();

    char full[ULOC_FULLNAME_CAPACITY];
    status = U_ZERO_ERROR;
    length = uloc_addLikelySubtags(canonical, full, ULOC_FULLNAME_CAPACITY, &status);
    const char *source =
        U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0 ? canonical
                                                                                      : full;
    tag.fullLanguage = subtag(uloc_getLanguage, source);
    tag.fullScript = subtag(uloc_getScript, source);
    tag.fullRegion = subtag(uloc_getCountry, source);
    if (tag.fullLanguage.isEmpty()) // "und" alone: no language to match
        tag = Tag();
    return tag;
}

// Parsing asks ICU several times; the same few names come back on every selection. A copy is
// returned: a later insertion may move the cached ones.
Tag tagFor(const QString &name)
{
    thread_local QHash<QString, Tag> cache;
    const auto it = cache.constFind(name);
    if (it != cache.cend())
        return *it;
    if (cache.size() > 4096)
        cache.clear();
    const Tag tag = parse(name);
    cache.insert(name, tag);
    return tag;
}

// The parent the locale data names for an identifier, where it differs from cutting the last
// subtag off ("es_MX" -> "es_419", "pt_AO" -> "pt_PT", "zh_Hant_MO" -> "zh_Hant_HK").
QString dataParent(const QString &identifier)
{
    // ICU 72 never returns from opening "no_NO", an alias of "nb_NO" (Norwegian Bokmål): the
    // aliases of "no" are asked for by what they stand for.
    const QString target = identifier.startsWith(QLatin1String("no_"))
                               ? QStringLiteral("nb") + identifier.mid(2)
                               : identifier;
    const QByteArray id = target.toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    UResourceBundle *bundle = ures_openDirect(nullptr, id.constData(), &status);
    if (U_FAILURE(status)) {
        if (bundle)
            ures_close(bundle);
        return {};
    }
    int32_t length = 0;
    status = U_ZERO_ERROR;
    const UChar *parent = ures_getStringByKey(bundle, "%%Parent", &length, &status);
    QString result;
    if (U_SUCCESS(status) && length > 0)
        result = QString::fromUtf16(reinterpret_cast<const char16_t *>(parent), length);
    ures_close(bundle);
    return result == QLatin1String("root") ? QString() : result;
}

QString dataParentOf(const QString &language, const QString &script, const QString &region)
{
    if (region.isEmpty())
        return {};
    QString parent;
    if (!script.isEmpty())
        parent = dataParent(language + u'_' + script + u'_' + region);
    if (parent.isEmpty())
        parent = dataParent(language + u'_' + region);
    return parent;
}

// What a preferred language is tried as, in order.
QList<Level> computeLevels(const Tag &preferred)
{
    QList<Level> levels{{preferred.fullLanguage, preferred.fullScript, preferred.fullRegion}};
    auto add = [&levels](const Level &level) {
        if (!levels.contains(level))
            levels.append(level);
    };
    // The data's parents are few and short; the bound only guards against a loop.
    QString language = preferred.fullLanguage, script = preferred.fullScript,
            region = preferred.fullRegion;
    for (int depth = 0; depth < 4; ++depth) {
        const QString parent = dataParentOf(language, script, region);
        if (parent.isEmpty())
            break;
        const Tag tag = tagFor(parent);
        if (!tag.isValid() || tag.fullLanguage != preferred.fullLanguage)
            break;
        add({tag.fullLanguage, tag.fullScript, tag.fullRegion});
        language = tag.fullLanguage, script = tag.fullScript, region = tag.fullRegion;
    }
    add({preferred.fullLanguage, preferred.fullScript, QString()});
    add({preferred.fullLanguage, QString(), QString()});
    return levels;
}

// The locale data is opened once per language and thread, not on every match.
QList<Level> levelsFor(const Tag &preferred)
{
    thread_local QHash<QString, QList<Level>> cache;
    const QString key =
        preferred.fullLanguage + u'_' + preferred.fullScript + u'_' + preferred.fullRegion;
    const auto it = cache.constFind(key);
    if (it != cache.cend())
        return *it;
    if (cache.size() > 1024)
        cache.clear();
    const QList<Level> levels = computeLevels(preferred);
    cache.insert(key, levels);
    return levels;
}

bool matches(const Tag &tag, const Level &level, const QString &variant)
{
    return tag.fullLanguage == level.language &&
           (tag.variant.isEmpty() || tag.variant == variant) &&
           (level.script.isEmpty() || tag.fullScript == level.script) &&
           (level.region.isEmpty() || tag.fullRegion == level.region);
}

// How well the subtags an entry spells out fit the user's: a written region or script the user
// shares counts for it, a different one against ("pt" serves a pt_PT user better than "pt_BR").
int fit(const Tag &entry, const Tag &preferred)
{
    int score = 0;
    if (!entry.script.isEmpty())
        score += entry.script == preferred.fullScript ? 1 : -1;
    if (!entry.region.isEmpty())
        score += entry.region == preferred.fullRegion ? 1 : -1;
    // The variant asked for ("ca@valencia") before the plain language.
    if (!entry.variant.isEmpty())
        score += 2;
    return score;
}

// Of several entries for the same language, the one that fits best; a code before a classic
// name, then name order, so the choice never depends on the order folders are listed in.
qsizetype bestOf(const QStringList &available, const QList<qsizetype> &candidates,
                 const Tag &preferred)
{
    qsizetype best = -1;
    int bestFit = 0;
    for (qsizetype i : candidates) {
        const Tag tag = tagFor(available.at(i));
        const int score = fit(tag, preferred);
        if (best < 0 || score > bestFit) {
            best = i, bestFit = score;
            continue;
        }
        if (score < bestFit)
            continue;
        const Tag bestTag = tagFor(available.at(best));
        if (tag.classic != bestTag.classic ? !tag.classic : available.at(i) < available.at(best))
            best = i;
    }
    return best;
}

} // namespace

namespace LocalizationMatch {

QString bestMatch(const QStringList &available, const QString &preferred)
{
    const Tag wanted = tagFor(preferred);
    if (!wanted.isValid() || available.isEmpty())
        return {};

    // The form the user wrote, in any spelling ("zh-Hant" for "zh_Hant", "English" for "en").
    QList<qsizetype> candidates;
    for (qsizetype i = 0; i < available.size(); ++i) {
        const Tag tag = tagFor(available.at(i));
        if (tag.isValid() && tag.language == wanted.language && tag.script == wanted.script &&
            tag.region == wanted.region && tag.variant == wanted.variant)
            candidates.append(i);
    }
    for (const Level &level : levelsFor(wanted)) {
        if (!candidates.isEmpty())
            break;
        for (qsizetype i = 0; i < available.size(); ++i) {
            const Tag tag = tagFor(available.at(i));
            if (tag.isValid() && matches(tag, level, wanted.variant))
                candidates.append(i);
        }
    }
    if (candidates.isEmpty())
        return {};
    return available.at(bestOf(available, candidates, wanted));
}

QString firstMatch(const QStringList &available, const QStringList &preferredLanguages)
{
    for (const QString &preferred : preferredLanguages) {
        const QString match = bestMatch(available, preferred);
        if (!match.isEmpty())
            return match;
    }
    return {};
}

} // namespace LocalizationMatch
