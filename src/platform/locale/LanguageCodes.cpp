#include "platform/locale/LanguageCodes.h"

#include <array>
#include <utility>

namespace {

// The names older bundles use for their localisation folders.
constexpr std::array<std::pair<const char *, const char *>, 28> kClassicNames{{
    {"English", "en"},   {"French", "fr"},    {"German", "de"},    {"Japanese", "ja"},
    {"Spanish", "es"},   {"Italian", "it"},   {"Dutch", "nl"},     {"Swedish", "sv"},
    {"Norwegian", "nb"}, {"Danish", "da"},    {"Finnish", "fi"},   {"Portuguese", "pt"},
    {"Korean", "ko"},    {"Chinese", "zh"},   {"Russian", "ru"},   {"Polish", "pl"},
    {"Czech", "cs"},     {"Hungarian", "hu"}, {"Greek", "el"},     {"Turkish", "tr"},
    {"Arabic", "ar"},    {"Hebrew", "he"},    {"Icelandic", "is"}, {"Thai", "th"},
    {"Ukrainian", "uk"}, {"Romanian", "ro"},  {"Croatian", "hr"},  {"Catalan", "ca"},
}};

} // namespace

namespace LanguageCodes {

QString codeForClassicName(const QString &name)
{
    // Every classic name is a capitalised word of four letters or more; codes are not, and
    // most names asked about are codes.
    if (name.size() < 4 || !name.front().isUpper())
        return {};
    for (const auto &[classic, code] : kClassicNames) {
        if (name == QLatin1String(classic))
            return QString::fromLatin1(code);
    }
    return {};
}

} // namespace LanguageCodes
