#pragma once

#include <QString>
#include <memory>

class PreferencesStore;
class Workspace;
class Processes;
class DesktopEntries;

// The operating-system services the program relies on, passed to whatever needs them so that
// tests can point them at temporary folders.
struct Platform {
    std::shared_ptr<PreferencesStore> preferences;
    std::shared_ptr<Workspace> workspace;
    std::shared_ptr<Processes> processes;
    // The desktop's application menu; none: the catalogue holds bundles only.
    std::shared_ptr<const DesktopEntries> desktopEntries;
    // Vexilo's own bundle (the one holding the running executable).
    QString mainBundlePath;

    // The preferences command-line tool shipped in the main bundle.
    QString defaultsToolPath() const;

    // The services of this machine, for a program whose executable lies in
    // <bundle>/Contents/MacOS; `mainBundlePath` falls back to the executable's folder.
    static Platform standard();
};
