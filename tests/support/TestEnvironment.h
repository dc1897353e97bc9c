#pragma once

#include "platform/Platform.h"
#include "platform/desktop/DesktopEntries.h"

#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

// A private home for one test: XDG folders in a temporary directory (inherited by the child
// processes the test starts, which is why Qt's test mode is not used), an empty applications
// folder, and a Platform pointing at them with the built Vexilo.app as main bundle.
class TestEnvironment {
public:
    TestEnvironment();

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString applicationsDirectory() const { return root() + QStringLiteral("/Applications"); }
    QString preferencesDirectory() const;
    const Platform &platform() const { return m_platform; }
    // Puts a file where the preferences folder was: nothing can be stored any more.
    bool blockPreferences() const;
    // The desktop's application menu the catalogue lists beside the bundles; none by default.
    void setDesktopEntries(std::shared_ptr<const DesktopEntries> entries)
    {
        m_platform.desktopEntries = std::move(entries);
    }

    // Sets the user's language for ICU, the bundle reader and child processes alike,
    // e.g. ("fr_FR", "fr:en").
    static void setLanguage(const QString &locale, const QString &languageList = QString());

private:
    QTemporaryDir m_dir;
    Platform m_platform;
};

// Skips the calling test, naming what is missing, when the real-world samples that lie beside
// the project in the workspace are not there (a clone on its own).
#define VEXILO_REQUIRE_REALWORLD()                                                                 \
    do {                                                                                           \
        if (!QFileInfo::exists(QStringLiteral(VEXILO_TEST_REALWORLD)))                             \
            QSKIP("real-world samples not found at " VEXILO_TEST_REALWORLD);                       \
    } while (false)
