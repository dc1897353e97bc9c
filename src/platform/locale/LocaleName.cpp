#include "platform/locale/LocaleName.h"

namespace LocaleName {

bool isPlainC(QStringView locale)
{
    return locale.isEmpty() || locale == u"C" || locale == u"POSIX";
}

bool namesNoLanguage(QStringView locale)
{
    return isPlainC(locale) || locale.startsWith(u"C.") || locale.startsWith(u"C@") ||
           locale.startsWith(u"POSIX.");
}

} // namespace LocaleName
