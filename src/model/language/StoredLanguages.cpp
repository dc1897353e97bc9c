#include "StoredLanguages.h"

#include "LanguageDisplay.h"
#include "StoredLanguage.h"
#include "catalogue/AppListing.h"

#include <QProcess>

namespace {

// A tool that hangs must not freeze the window for good.
constexpr int kToolTimeoutMs = 10000;

} // namespace

StoredLanguages::StoredLanguages(QString toolPath) : m_toolPath(std::move(toolPath)) {}

std::optional<QString> StoredLanguages::storedLanguage(const QString &identifier)
{
    if (identifier.isEmpty())
        return std::nullopt;
    const auto it = m_known.constFind(identifier);
    if (it != m_known.cend())
        return *it;
    // Known first, so that a lookup that finds nothing is not repeated either.
    const std::optional<QString> code = lookUp(identifier);
    m_known.insert(identifier, code);
    return code;
}

std::optional<QString> StoredLanguages::knownStoredLanguage(const QString &identifier) const
{
    return m_known.value(identifier, std::nullopt);
}

void StoredLanguages::remember(const QString &identifier, const std::optional<QString> &code)
{
    if (!identifier.isEmpty())
        m_known.insert(identifier, code);
}

std::optional<QString> StoredLanguages::lookUp(const QString &identifier) const
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(m_toolPath, StoredLanguage::readArguments(identifier), QIODevice::ReadOnly);
    if (!tool.waitForStarted())
        return std::nullopt;
    if (!tool.waitForFinished(kToolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished();
    }
    return StoredLanguage::parseReadOutput(tool.readAll());
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
