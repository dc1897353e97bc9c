#include "LanguageList.h"

#include "LanguageDisplay.h"
#include "platform/locale/LanguageCodes.h"
#include "platform/locale/LanguageNames.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHash>
#include <QList>
#include <QLocale>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace LanguageList {

namespace {

// Longer than any language identifier in use, short enough that a pop-up entry stays readable.
constexpr qsizetype kMaxDeclaredLength = 64;

bool isBase(const QString &name)
{
    return name.compare(QLatin1String("Base"), Qt::CaseInsensitive) == 0;
}

bool isPlainCode(const QString &value)
{
    if (value.isEmpty() || value.size() > kMaxDeclaredLength)
        return false;
    return std::all_of(value.cbegin(), value.cend(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'_' || c == u'-';
    });
}

// One entry of the list being built. Names of one language share its key: "English", "en" and
// "EN" give "en"; "zh-TW" and "zh_TW" give "zh_tw".
struct Candidate {
    QString key;
    QString name;
    int rank = 0; // lower is better: a code before a classic name, a folder before a declared value
};

Candidate candidateFor(const QString &name, bool isFolder)
{
    const QString classic = LanguageCodes::codeForClassicName(name);
    QString key = classic.isEmpty() ? name : classic;
    key.replace(QLatin1Char('-'), QLatin1Char('_'));
    return {key.toLower(), name, (classic.isEmpty() ? 0 : 2) + (isFolder ? 0 : 1)};
}

// Display names and their collation keys, per thread (listings are read on the loading thread
// too) and for one pair of display and collation locale at a time: catalogues repeat the same
// few dozen codes, and asking ICU for each of thousands of listings would slow loading down.
class SortKeys {
public:
    // The names are in the user's language and ordered by the user's collation, both read
    // afresh for each list.
    void refresh()
    {
        const QString display = LanguageNames::preferredLanguages().constFirst();
        const QString collation = LanguageNames::collationLocaleIdentifier();
        if (m_collator && display == m_display && collation == m_collation)
            return;
        m_display = display;
        m_collation = collation;
        m_collator.emplace(QLocale(collation));
        m_keys.clear();
    }

    QCollatorSortKey keyFor(const QString &code)
    {
        auto it = m_keys.constFind(code);
        if (it == m_keys.cend()) {
            if (m_keys.size() > 4096)
                m_keys.clear();
            it = m_keys.insert(code, m_collator->sortKey(LanguageDisplay::name(code)));
        }
        return *it;
    }

private:
    QString m_display;
    QString m_collation;
    std::optional<QCollator> m_collator;
    QHash<QString, QCollatorSortKey> m_keys;
};

} // namespace

QStringList languages(const QStringList &folders, const QVariant &declared)
{
    // A bundle has a few dozen languages at most: a list searched in place costs less than a
    // hash, and this runs for every bundle of the catalogue.
    QList<Candidate> chosen;
    chosen.reserve(folders.size());
    auto offer = [&chosen](const QString &name, bool isFolder) {
        if (name.isEmpty() || isBase(name))
            return;
        Candidate candidate = candidateFor(name, isFolder);
        for (Candidate &known : chosen) {
            if (known.key != candidate.key)
                continue;
            if (candidate.rank < known.rank || (candidate.rank == known.rank && name < known.name))
                known = std::move(candidate);
            return;
        }
        chosen.append(std::move(candidate));
    };
    for (const QString &folder : folders)
        offer(folder, true);
    // An array of strings; anything else in it is no language.
    if (declared.typeId() == QMetaType::QStringList) {
        for (const QString &value : declared.toStringList()) {
            if (isPlainCode(value))
                offer(value, false);
        }
    } else if (declared.typeId() == QMetaType::QVariantList) {
        for (const QVariant &value : declared.toList()) {
            if (value.typeId() == QMetaType::QString && isPlainCode(value.toString()))
                offer(value.toString(), false);
        }
    }

    std::sort(chosen.begin(), chosen.end(),
              [](const Candidate &a, const Candidate &b) { return a.key < b.key; });
    QStringList result;
    result.reserve(chosen.size());
    for (const Candidate &candidate : chosen)
        result.append(candidate.name);
    return result;
}

QStringList sortedByDisplayName(const QStringList &codes)
{
    if (codes.size() < 2)
        return codes;
    thread_local SortKeys sortKeys;
    sortKeys.refresh();
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(codes.size());
    for (const QString &code : codes)
        keyed.emplace_back(sortKeys.keyFor(code), code);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    QStringList sorted;
    sorted.reserve(codes.size());
    for (const auto &entry : keyed)
        sorted.append(entry.second);
    return sorted;
}

} // namespace LanguageList
