#pragma once

#include "AppListing.h"
#include "platform/desktop/DesktopEntries.h"

// An application of the desktop's menu (a desktop entry; a Flatpak application is one too, with
// its own start and setting). It starts once with its Exec line and LANGUAGE set, keeps its
// stored language in an override Vexilo writes where the desktop's launcher honours it, and its
// running copies are the processes of its program.
class MenuEntryListing final : public AppListing {
    struct Private {};

public:
    explicit MenuEntryListing(Private) {}
    static std::shared_ptr<MenuEntryListing>
    read(const DesktopApplication &app, const DesktopEntries &entries, bool withLanguages);

    QString localizedAppName() const override { return m_name; }
    QStringList langs() const override { return m_langs; }
    AppListingPtr reread(const Platform &platform) const override;
    QString ownLanguage(const QStringList &preferredLanguages) const override;
    QString whyNoStoredLanguage() const override { return {}; }
    StoredSetting readStoredLanguage(const Platform &platform) const override;
    SettingChange changeStoredLanguage(const Platform &platform,
                                       const std::optional<QString> &code) const override;
    StartOutcome start(Processes &processes, StartMode mode,
                       const QString &language) const override;
    QList<qint64> runningCopies(const Processes &processes) const override;
    QString runningLanguage(const Processes &processes, qint64 pid,
                            const std::optional<QString> &stored) const override;

private:
    DesktopApplication m_app;
    // Found when read with its languages, sorted by display name.
    QStringList m_langs;
};
