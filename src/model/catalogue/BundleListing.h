#pragma once

#include "AppListing.h"

#include <QVariant>

// An application bundle: X.app with Contents/Info.plist, Contents/Resources/<lang>.lproj and
// Contents/MacOS/<executable>. It starts once in a language with "-AppleLanguages (fr)", keeps
// its stored language in its own AppleLanguages preference (through the preferences tool), and
// its running copies are the processes of its executable.
class BundleListing final : public AppListing {
    struct Private {};

public:
    explicit BundleListing(Private) {}
    static std::shared_ptr<BundleListing> read(const QString &path, Workspace &workspace,
                                               bool invalid);

    QString localizedAppName() const override;
    QString version() const override;
    QStringList langs() const override;
    AppListingPtr reread(const Platform &platform) const override;
    QString ownLanguage(const QStringList &preferredLanguages) const override;
    QString whyNoStoredLanguage() const override;
    StoredSetting readStoredLanguage(const Platform &platform) const override;
    SettingChange changeStoredLanguage(const Platform &platform,
                                       const std::optional<QString> &code) const override;
    StartOutcome start(Processes &processes, StartMode mode,
                       const QString &language) const override;
    QList<qint64> runningCopies(const Processes &processes) const override;
    QString runningLanguage(const Processes &processes, qint64 pid,
                            const std::optional<QString> &stored) const override;

private:
    void readBundle(const QString &path, Workspace &workspace);

    QStringList m_localizations; // folder names, sorted
    QVariant m_declaredLocalizations;
    QString m_developmentRegion;
    QString m_executable; // CFBundleExecutable
    mutable std::once_flag m_langsMade;
    mutable QStringList m_langs;
    mutable std::once_flag m_nameRead;
    mutable QString m_localizedName;
};

// The two arguments that start an application in a language for one run: -AppleLanguages (fr).
QStringList languageArguments(const QString &code);
