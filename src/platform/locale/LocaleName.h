#pragma once

#include <QStringView>

// What a locale name, as the environment's LC_* and LANG variables hold it, says.
namespace LocaleName {

// The variables that name a locale for one category, LANG for them all; LC_ALL outranks them.
inline constexpr const char *kCategoryVariables[] = {
    "LANG",         "LC_CTYPE",       "LC_NUMERIC",       "LC_TIME", "LC_COLLATE",
    "LC_MONETARY",  "LC_MESSAGES",    "LC_PAPER",         "LC_NAME", "LC_ADDRESS",
    "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"};

// The C library's own locale, under which gettext ignores LANGUAGE and programs show their
// untranslated texts: unset, "C" or "POSIX". "C.UTF-8" is not: gettext reads LANGUAGE under it.
bool isPlainC(QStringView locale);

// A locale that names no language: the plain C locale, and C with a codeset or modifier
// ("C.UTF-8", "C.utf8").
bool namesNoLanguage(QStringView locale);

} // namespace LocaleName
