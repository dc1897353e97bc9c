#include "LanguageDisplay.h"

#include "platform/locale/LanguageNames.h"

namespace LanguageDisplay {

QString nameIfKnown(const QString &code)
{
    QString name = LanguageNames::displayNameForLocaleIdentifier(code);
    if (name.isEmpty()) {
        const QString canonical = LanguageNames::canonicalLocaleIdentifier(code);
        if (!canonical.isEmpty())
            name = LanguageNames::displayNameForLocaleIdentifier(canonical);
    }
    return name;
}

QString name(const QString &code)
{
    const QString known = nameIfKnown(code);
    return known.isEmpty() ? code : known;
}

} // namespace LanguageDisplay
