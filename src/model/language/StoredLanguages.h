#pragma once

#include "catalogue/AppListing.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

struct Platform;

// Applications' stored languages, as each kind keeps them (AppListing::readStoredLanguage), kept
// per identifier until forgotten (every selection does, so changes made outside Vexilo show) or
// set by Vexilo's own change.
class StoredLanguages {
public:
    explicit StoredLanguages(std::shared_ptr<const Platform> platform);

    // The stored setting of the application, looked up the first time it is asked since it was
    // last forgotten, also when that lookup finds nothing. An application without identifier
    // has none.
    AppListing::StoredSetting setting(const AppListing &app);
    std::optional<QString> storedLanguage(const AppListing &app) { return setting(app).code; }
    // The known answer without a lookup: nullopt when there is none or it was not looked up.
    std::optional<QString> knownStoredLanguage(const QString &identifier) const;

    void forget(const QString &identifier) { m_known.remove(identifier); }
    // What Vexilo wrote or deleted itself, known without asking.
    void remember(const QString &identifier, const std::optional<QString> &code);
    // What a lookup made elsewhere found.
    void store(const QString &identifier, const AppListing::StoredSetting &setting);

private:
    std::shared_ptr<const Platform> m_platform;
    QHash<QString, AppListing::StoredSetting> m_known;
};

// The user's name for a stored language: its name as a locale identifier, else as a canonical
// identifier, else the code itself.
QString localizedStoredLanguage(const QString &code);

// The position of the stored language among an application's languages (the code itself, else
// its English name, as older bundles name their folders); AppListing::NotFound when absent.
int indexOfStoredLanguage(const QString &code, const QStringList &langs);
