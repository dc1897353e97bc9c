#include "StoredLanguages.h"

#include "LanguageDisplay.h"
#include "StoredLanguage.h"

StoredLanguages::StoredLanguages(std::shared_ptr<const Platform> platform)
    : m_platform(std::move(platform))
{
}

AppListing::StoredSetting StoredLanguages::setting(const AppListing &app)
{
    const QString identifier = app.identifier();
    if (identifier.isEmpty())
        return {};
    const auto it = m_known.constFind(identifier);
    if (it != m_known.cend())
        return *it;
    // Known first, so that a lookup that finds nothing is not repeated either.
    const AppListing::StoredSetting found = app.readStoredLanguage(*m_platform);
    m_known.insert(identifier, found);
    return found;
}

std::optional<QString> StoredLanguages::knownStoredLanguage(const QString &identifier) const
{
    const auto it = m_known.constFind(identifier);
    return it == m_known.cend() ? std::nullopt : it->code;
}

void StoredLanguages::remember(const QString &identifier, const std::optional<QString> &code)
{
    if (!identifier.isEmpty())
        m_known.insert(identifier, {code, {}});
}

void StoredLanguages::store(const QString &identifier, const AppListing::StoredSetting &setting)
{
    if (!identifier.isEmpty())
        m_known.insert(identifier, setting);
}

QString localizedStoredLanguage(const QString &code)
{
    return LanguageDisplay::name(code);
}

int indexOfStoredLanguage(const QString &code, const QStringList &langs)
{
    const int index = code.isEmpty() ? -1 : StoredLanguage::indexInLanguages(code, langs);
    return index < 0 ? AppListing::NotFound : index;
}
