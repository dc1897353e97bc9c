#pragma once

#include <QStringView>

// What a locale name, as the environment's LC_* and LANG variables hold it, says.
namespace LocaleName {

// The C library's own locale, under which gettext ignores LANGUAGE and programs show their
// untranslated texts: unset, "C" or "POSIX". "C.UTF-8" is not: gettext reads LANGUAGE under it.
bool isPlainC(QStringView locale);

// A locale that names no language: the plain C locale, and C with a codeset or modifier
// ("C.UTF-8", "C.utf8").
bool namesNoLanguage(QStringView locale);

} // namespace LocaleName
