#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// Applications' stored languages: the first code of each one's own AppleLanguages preference,
// read with the preferences tool and kept per identifier until it is forgotten (every selection
// does, so changes made outside Vexilo show) or set by Vexilo's own change.
class StoredLanguages {
public:
    explicit StoredLanguages(QString toolPath);

    // The stored language of the application, looked up with the tool the first time it is
    // asked since it was last forgotten, also when that lookup finds nothing. nullopt when there
    // is none; an application without identifier has none.
    std::optional<QString> storedLanguage(const QString &identifier);
    // The known answer without a lookup: nullopt when there is none or it was not looked up.
    std::optional<QString> knownStoredLanguage(const QString &identifier) const;
    bool isKnown(const QString &identifier) const { return m_known.contains(identifier); }

    void forget(const QString &identifier) { m_known.remove(identifier); }
    // What Vexilo wrote or deleted itself, known without asking the tool.
    void remember(const QString &identifier, const std::optional<QString> &code);

    QString toolPath() const { return m_toolPath; }

    // The tool answers in a few milliseconds; one that has not within this bound, or that
    // prints more than a list of languages ever takes, is stopped and counts as no answer.
    static constexpr int kToolTimeoutMs = 3000;
    static constexpr qsizetype kMaxToolOutput = 64 * 1024;

private:
    std::optional<QString> lookUp(const QString &identifier) const;

    QString m_toolPath;
    QHash<QString, std::optional<QString>> m_known;
};

// The user's name for a stored language: its name as a locale identifier, else as a canonical
// identifier, else the code itself.
QString localizedStoredLanguage(const QString &code);

// The position of the stored language among an application's languages (the code itself, else
// its English name, as older bundles name their folders); AppListing::NotFound when absent.
int indexOfStoredLanguage(const QString &code, const QStringList &langs);
