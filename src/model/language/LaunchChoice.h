#pragma once

#include "platform/desktop/DesktopEntries.h"

#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <optional>

// What Launch would start now: the selected application and the language chosen for it.
struct LaunchChoice {
    QString path;
    QString identifier;
    // The language code, as the bundle names its localisation, and its entry's title.
    QString code;
    QString title;
    // False for Vexilo's own entry and for an application whose languages cannot be told.
    bool launchable = false;
    // An application of the desktop's menu; none for a bundle.
    std::optional<DesktopApplication> desktop;

    bool operator==(const LaunchChoice &) const = default;
};

// The selection's latest LaunchChoice: written on the main thread whenever the selection or the
// chosen language changes, read by launch workers at the moments they start something.
class LaunchChoiceSnapshot {
public:
    void set(const LaunchChoice &choice)
    {
        QMutexLocker lock(&m_mutex);
        m_choice = choice;
    }
    LaunchChoice get() const
    {
        QMutexLocker lock(&m_mutex);
        return m_choice;
    }

private:
    mutable QMutex m_mutex;
    LaunchChoice m_choice;
};
