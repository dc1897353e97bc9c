#include "StoredLanguages.h"

#include "LanguageDisplay.h"
#include "StoredLanguage.h"
#include "catalogue/AppListing.h"

#include <QElapsedTimer>
#include <QProcess>

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
    // Read as it comes, so that a tool printing without end neither fills the memory nor
    // holds the window up longer than one that hangs.
    QElapsedTimer clock;
    clock.start();
    QByteArray output;
    while (tool.state() != QProcess::NotRunning) {
        const qint64 left = kToolTimeoutMs - clock.elapsed();
        if (left <= 0 || output.size() > kMaxToolOutput) {
            tool.kill();
            tool.waitForFinished();
            return std::nullopt;
        }
        tool.waitForReadyRead(int(left));
        output += tool.readAll();
    }
    output += tool.readAll();
    // Killed half-way through its answer, a tool may have printed part of a code.
    if (tool.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return StoredLanguage::parseReadOutput(output);
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
